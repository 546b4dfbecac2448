#pragma once
// How many threads a calculation runs on, decided in one place: a positive request stands as it
// is, and 0 (or anything below 1) means one thread per core the system reports.
namespace plexo {

// The hardware threads the system reports, at least 1 (a system that cannot tell counts as one).
int CoreCount();

// `requested` when positive, else CoreCount().
int JobCount(int requested);

}  // namespace plexo
