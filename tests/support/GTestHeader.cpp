// The owner of the tests' precompiled GoogleTest header: a program with no
// tests of its own.
