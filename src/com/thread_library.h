// The library's copy of its shared data for one host thread: the native
// adapters of every port, bound to the thread's module data, with start-up
// run once, in the thread that creates its first control. A second
// apartment thread gets a copy of its own.
#ifndef H5KAKEI_COM_THREAD_LIBRARY_H_
#define H5KAKEI_COM_THREAD_LIBRARY_H_

namespace h5 {

// Starts the calling thread's copy when it has none yet.
void EnsureThreadLibrary();
// Frees the calling thread's copy (the thread is ending).
void DropThreadLibrary();
// Frees every thread's copy (the library is being unloaded).
void DropAllThreadLibraries();

}  // namespace h5

#endif  // H5KAKEI_COM_THREAD_LIBRARY_H_
