// scene-probe's commands on installed files and programs (installed.cpp):
// each prints its answer on stdout and returns the exit code, 0 when the
// thing asked for was found.
#pragma once

int print_version(const char* file);
int print_manifest(const char* file);
int print_shortcut(const char* file);
int open_file(const char* file);
int print_owner(const char* title);
int print_programs();
