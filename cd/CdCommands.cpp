#include "cd/CdCommands.h"

void OnCdToWav() {}
void OnCdToMp3() {}
