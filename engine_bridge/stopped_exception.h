#ifndef ENGINE_BRIDGE_STOPPED_EXCEPTION_H_
#define ENGINE_BRIDGE_STOPPED_EXCEPTION_H_

namespace flutter {

// The line for an exception stopped where C code called in:
// "Error: exception stopped at <edge>: <what()>", or with
// kUnknownExceptionText for an exception that is no std::exception.
inline constexpr char kExceptionStoppedAt[] = "Error: exception stopped at ";
inline constexpr char kUnknownExceptionText[] = "unknown exception";

// Reports the exception being handled on the standard error stream as one
// line naming `edge`, the function C code called. Call it only from a catch
// block.
void ReportStoppedException(const char* edge) noexcept;

}  // namespace flutter

#endif  // ENGINE_BRIDGE_STOPPED_EXCEPTION_H_
