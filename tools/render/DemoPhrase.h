// A few seconds of plucked notes and drum hits, made in code, so the renderer has
// something to play on a machine without audio files.
#pragma once

#include "AudioFile.h"

AudioData makeDemoPhrase(int sampleRate);
