// Start-up: the main window, then the event loop until the program ends.
#include <windows.h>

#include "runtime/form.h"
#include "runtime/message_box.h"
#include "windows/main_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        rt::instance<с>().show();
    } catch (const rt::Error& error) {
        rt::report_error(error);
        return 1;
    }
    return rt::run_event_loop();
}
