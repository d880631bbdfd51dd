#include "encoding/WavToMp3Command.h"

void OnWavToMp3() {}
