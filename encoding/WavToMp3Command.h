#pragma once

// Handler of the Wav -> MP3 command (32771): settings, a WAV file, the encoder, the job.
void OnWavToMp3();
