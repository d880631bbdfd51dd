#pragma once
// The encoder library's five entry points, bound at each run of an encoding command. The
// library is loaded at run time, found in the program's own folder first, then in its private
// library folder, then on the system's library path, and never in the current directory: the
// CD commands make the user's output folder current, and a library planted there must not run.
// VERBENO_ENCODER_LIBRARY, when set, names the one library file to load instead.

#include "platform/bladeenc/bladeenc.h"

#include <QString>
#include <QStringList>

struct EncoderLibrary {
    BEINITSTREAM beInitStream = nullptr;
    BEENCODECHUNK beEncodeChunk = nullptr;
    BEDEINITSTREAM beDeinitStream = nullptr;
    BECLOSESTREAM beCloseStream = nullptr;
    BEVERSION beVersion = nullptr;
};

// The process-wide record; only BindEncoderLibrary writes it.
EncoderLibrary& TheEncoderLibrary();

// Loads the library and binds all five entry points; shows "Error loading BLADEENC.DLL" or
// "Unable to get BladeEnc interface" and returns false when that fails. Never unloads.
bool BindEncoderLibrary();

// Where the library is looked for, in order. A bare file name stands for the system's library
// search path; it is left out while that path would reach the current directory.
QStringList EncoderLibraryCandidates();
