#pragma once
// A statement note: an information box titled with a statement's name.
#include <string_view>

#include "runtime/message_box.h"

struct Note {
    std::wstring_view title;
    std::wstring_view text;
};

inline void show_note(const Note& note) { rt::message_box(note.text, rt::Box::Information, note.title); }
