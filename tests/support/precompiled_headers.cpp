// The source of the test programs' shared precompiled headers: the build
// compiles them beside this file and every test program takes them from here.
