// Built instead of the command-line tests when the desktop program is switched off: a test
// program with no tests, so the suite still configures and runs.
