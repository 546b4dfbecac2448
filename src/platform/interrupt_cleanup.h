#pragma once
// What happens to a result's files when SIGINT, SIGTERM or SIGHUP ends the program.
//
// Temporary files normally have no name at all (O_TMPFILE): the kernel drops them whatever ends
// the process. Names exist only where the file system cannot do that (a temporary written under
// a name) and for the moment between linking a finished file under a temporary name and renaming
// it over the target. Those names are listed here, in a form the signal handler can walk without
// allocating or locking, and removed before the signal ends the program with its default action
// (so the exit status still says "killed by signal").
//
// While a result's files are put in place, the three signals wait: the handler notes the signal
// and the last InterruptsDeferred to end raises it again, so a result is never left half
// replaced by them. kill -9 cannot be caught: in the brief step in which a result's finished files
// are linked under temporary names and renamed over their targets it can leave those names and
// the result half replaced (and, where the file system has no O_TMPFILE, the named temporaries
// of the run in progress).
#include <string>

namespace plexo {

// Installs the handlers (once per process; a signal whose handling someone else has set already,
// or that is ignored, is left alone).
void InstallInterruptCleanup();

struct ListedName;

// Lists `path` for removal by the handlers; returns the entry for ForgetTemporaryName, or null
// when it cannot be listed (a path too long for the list).
ListedName* ListTemporaryName(const std::string& path);
// Takes the name off the list again (after it was renamed or removed). Null is ignored.
void ForgetTemporaryName(ListedName* entry);

// While one exists (on any thread), SIGINT, SIGTERM and SIGHUP wait until the last one ends.
class InterruptsDeferred {
 public:
  InterruptsDeferred();
  ~InterruptsDeferred();
  InterruptsDeferred(const InterruptsDeferred&) = delete;
  InterruptsDeferred& operator=(const InterruptsDeferred&) = delete;
};

}  // namespace plexo
