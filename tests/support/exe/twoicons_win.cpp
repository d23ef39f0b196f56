// Test helper: an executable that carries two icons of its own (twoicons.rc) for the tests that count
// and draw the icons of an executable. Run, it does nothing.
int main() { return 0; }
