#pragma once
// Registers the pool page (command 5010) and the pool controls of gateway
// pages (types 117 and 118) with the shell.
void RegisterPoolPages();
