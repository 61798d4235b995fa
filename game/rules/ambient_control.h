// The game's side of the Ambient companion: started at START, stopped at
// each end of a game. Where Ambient lies and how it is told to go are the
// backend's business (audio_platform.h).
#pragma once

// Launches a new Ambient; a failure is reported in a message box and the
// game goes on without background sound.
void start_ambient();

// Ends every running Ambient (none running: nothing happens).
void stop_ambient();
