#pragma once

#include "encoding/EncoderSettings.h"

#include <QString>

// Encodes one WAV file into an MP3 file beside it (named by Mp3OutputName), chunk by chunk,
// with a progress bar in pane 0 of the main window's status bar, and reports a failure in a
// message box; with `announceCompletion` a success ends with "Mp3 Encoding complete!".
// Needs a successful BindEncoderLibrary first. An output file, once created, is left with what
// was written to it; the input is never changed.
bool EncodeWavFile(const QString& inputPath, const EncoderSettings& settings,
                   bool announceCompletion);
