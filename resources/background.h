#pragma once
// The main window's background picture: a whole .bmp file linked into the program.
extern "C" const unsigned char background_bmp[];
