// A stand-in for an installed Outlook's program file: what the tests need of
// it is its version resource, which a program reads without starting it.
int main() { return 0; }
