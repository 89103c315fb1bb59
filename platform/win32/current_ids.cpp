#include <processthreadsapi.h>
#include <sys/syscall.h>
#include <unistd.h>

extern "C" DWORD WINAPI GetCurrentThreadId(void) {
  // A thread keeps its id for life; asking the kernel once is enough.
  thread_local const DWORD thread_id = static_cast<DWORD>(syscall(SYS_gettid));
  return thread_id;
}

extern "C" DWORD WINAPI GetCurrentProcessId(void) {
  return static_cast<DWORD>(getpid());
}
