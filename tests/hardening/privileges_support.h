// Lets a test process feel permission bits even when it runs as root.
#pragma once

// Gives up the capabilities that let root read, write and search past a file's permission bits
// (for good: call it in a child process). True when the process is now bound by those bits.
bool DropFileAccessOverride();
