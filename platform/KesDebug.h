// Debug switches by name: one int per switch.
//
// A switch set with SetDebug wins; otherwise the value comes from the environment variable
// KES_DEBUG, a comma-separated list of NAME=VALUE pairs ("Access=1,AttIntList=1"), read when a
// switch is first asked for; otherwise 0. A NAME without "=VALUE" counts as 1; a VALUE that is
// not an integer counts as 0. Blanks around names and values are ignored.
#pragma once

int GetDebug(const char* name);
void SetDebug(const char* name, int value);
// Forgets every switch set with SetDebug and reads KES_DEBUG again at the next GetDebug.
void ResetDebug();
// How many times GetDebug has been called in this process (for hosts that check their
// switches are read only as often as they expect).
long GetDebugCallCount();
