// Everything the modules need from the operating system goes through the
// headers of this folder; module code never calls an OS interface directly.
// On Windows each operation calls the real Win32 / DirectSound / DirectDraw /
// GDI interface; on Linux the project's own stand-ins behave the same way.
#pragma once
