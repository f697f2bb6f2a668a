// Placeholder source for a build without Win32 shell files.
