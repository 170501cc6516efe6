// Settings of one run of the end-to-end driver, from its command line.
#pragma once

// The ANSI code page the session gives Windows programs in this run.
unsigned ExpectedCodePage();
