#pragma once
#include <string_view>

#include "runtime/form.h"

// The text viewer: one label that shows a whole text file.
class тс final : public rt::Form {
public:
    тс();

private:
    void click(std::wstring_view control) override;
};

// Makes the viewer visible, then reads the file of that name in the program
// folder and puts its whole text in the label.
void load_text_viewer(std::wstring_view file_name);
