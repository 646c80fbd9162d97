// What Qt needs of the process to start, checked before it is loaded: Qt
// short of descriptors or memory fails in ways that say nothing useful
// (its own lines on standard error, qFatal, the dynamic loader's abort).
#pragma once

namespace rt::linux_program {

// Ends the program with one line when too few file descriptors or too
// little address space is free for Qt's start.
void RequireQtHeadroom();
// From now on, memory that runs out where nothing catches it ends the
// program with one line and status 1, not an abort.
void EndOnOutOfMemoryInOneLine();

}  // namespace rt::linux_program
