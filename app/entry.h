#pragma once

// The whole program: banner, command line, run. Always returns 0: the editor
// only waits for the run to end; neither a failure nor SS.EXE's result shows
// in the exit status.
int RunTarn(int argc, char** argv);
