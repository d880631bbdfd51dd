#pragma once

// Handlers of the CD -> Wav (32772) and CD -> MP3 (32773) commands.
void OnCdToWav();
void OnCdToMp3();
