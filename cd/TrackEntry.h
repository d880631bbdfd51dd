#pragma once
// One row of the track list dialog's table, one per position of the table of contents.

#include <cstdint>

struct TrackEntry {
    int32_t trackNo = 0; // the descriptor's track number
    uint32_t start = 0;  // first frame (logical block address)
    uint32_t length = 0; // frames up to the start of the next descriptor
    uint8_t isData = 0;  // 1 for a data track
    char name[256] = {}; // "Track %d" or "Data Track": the list item and the WAV file's name
};
