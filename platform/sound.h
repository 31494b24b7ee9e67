// The console beep.
#pragma once

// Sounds a tone of hz for ms milliseconds through the audio device and waits
// for it to finish. With no audio device, rings the terminal bell (on whichever
// of standard output or standard error is a terminal) and still waits ms.
void beepTone(int hz, int ms);

// The samples of the tone: a square wave of hz at rate samples per second,
// count samples of amplitude +-amplitude, starting high.
void fillSquareWave(short* out, int count, int hz, int rate, short amplitude);
