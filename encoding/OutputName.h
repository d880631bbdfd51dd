#pragma once

#include <QString>

// The MP3 file's name for an input file: the extension of the file-name part is replaced by
// ".mp3". Only the file-name part is searched, so a dot in a folder name never cuts the path;
// a name without an extension (or whose only dot leads it, ".wav") keeps all its characters
// and gets ".mp3" appended.
QString Mp3OutputName(const QString& inputPath);
