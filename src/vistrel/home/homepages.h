#pragma once
// Registers every home-control page and gateway control with the shell.
// The program calls it once at start, before the main window is made.
void RegisterHomePages();
