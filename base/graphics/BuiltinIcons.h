#pragma once
// The message dialog's four icons, one per caption: information, warning, error, choice. Each is icon
// data in the form that IconData reads; the first three hold a 32x32 and a 16x16 image, the choice
// icon one 16x16 image. The images are 32-bit with an alpha channel and drawn by code on first use.
#include <cstdint>
#include <vector>

enum : int { IconInformation = 0, IconWarning = 1, IconError = 2, IconChoice = 3 };

// The icon data of a caption number (0 to 3); empty data for any other number.
const std::vector<uint8_t> &BuiltinIcon(int caption);

// One image of a caption's icon at any size from 1 to 256 pixels square, in normal or in alarm colours
// (for a red ground), as the bytes of one icon image (header, 32-bit colour bits, mask bits); empty
// for another caption or size.
std::vector<uint8_t> BuiltinIconImage(int caption, int size, bool alarm);
