#pragma once
// Registers every media page and media control with the shell. The program
// calls it once at start, before the main window is made.
void RegisterMediaPages();
