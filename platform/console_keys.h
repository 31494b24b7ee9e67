// Single key presses from the console, without waiting for a whole line.
//
// On a terminal, the terminal is put in raw mode (no line editing, no echo)
// only for the duration of each call and restored right after, so line input
// and talk mode always find it as the user left it. It is also restored when
// the process exits or is stopped by a signal while a call waits.
//
// When standard input is not a terminal, keys are the bytes of the input
// stream; at end of input a key is always "waiting" and reads as -1, so a
// script polling for a key never waits forever.
#pragma once

// True when a key can be read without waiting.
bool consoleKeyWaiting();

// Waits for a key and returns its byte (0..255), or -1 at end of input or
// when an interrupt request ends the wait (the request stays pending).
// With echo, the key is written to standard output.
int consoleReadKey(bool echo);
