#ifndef PLATFORM_ENGINE_START_FAILURE_H_
#define PLATFORM_ENGINE_START_FAILURE_H_

#include <string>

namespace norvalis_engine {

// Why the engine did not start, as one line on standard error: `reason`
// (one of the engine's texts) followed by `path` in UTF-8.
void ReportStartFailure(const char* reason, const std::wstring& path);

}  // namespace norvalis_engine

#endif  // PLATFORM_ENGINE_START_FAILURE_H_
