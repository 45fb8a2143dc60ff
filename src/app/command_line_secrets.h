#pragma once
// The lobby passes the login key and the proxy password on the command line, where
// every local user can read them in the process list. Once the line is read the
// client overwrites them in its own argument memory.
namespace tavrel::app {

// Replaces the characters of field 2 (login key) and field 10 (proxy password) of
// the "$"-separated command line in argv[1..argc-1] (the fields may run across
// arguments, as the shell split them) by at most three "*"; the bytes freed at the
// end of an argument become zero. Argument lengths in memory stay as they are.
void WipeSecretFields(int argc, char** argv);

}  // namespace tavrel::app
