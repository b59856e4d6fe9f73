#pragma once

namespace qarvon {

// SIGTERM and SIGINT end the event loop the way the exit command does, so
// the normal end of the program (settings saved, lists written) runs.
// Call once, after the application object exists.
void QuitOnTerminationSignals();

} // namespace qarvon
