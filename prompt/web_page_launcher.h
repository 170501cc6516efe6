// Opens a web address with the program the user's system has registered for it, through
// the Windows URL protocol handler run as a separate process.
#pragma once

// "rundll32.exe url.dll,FileProtocolHandler ", the blank before the address included.
extern const char UrlHandlerCommandPrefix[];

// Starts the URL handler for the address (the caller's text, neither changed nor kept)
// and returns after it has settled, at most about a second later. Failures stay silent.
void OpenWebPage(const char* address);

// Starts `program` (a full path) with the command line, shown normally, and waits at most
// 1000 ms for it to become idle. False when it could not be started.
bool RunCommandLine(const char* program, char* commandLine);
