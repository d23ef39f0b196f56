#pragma once
// Checks that a buffer holds text before it is taken as a text file.

// True when every one of `count` bytes passes (a count below 1 passes). The stop byte always passes.
// Without a separator (0): CR and LF pass, any other byte must be a text character (IsTextChar) with
// the allowed list (`listLength` 0 = up to its NUL). With a separator: the separator, CR, LF and TAB
// pass, any other byte must be a text character with the list.
bool CheckTextChars(const char *buffer, int count, char stop, int listLength, const char *allowed, char separator);
