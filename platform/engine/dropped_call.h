#ifndef PLATFORM_ENGINE_DROPPED_CALL_H_
#define PLATFORM_ENGINE_DROPPED_CALL_H_

namespace norvalis_engine {

// The line for a call into the engine or a plugin library, or a callback one
// of them runs, that an exception ended:
// "<library>: call dropped, <where>: <what()>", with kUnknownExceptionText
// for an exception that is no std::exception.
inline constexpr char kCallDropped[] = ": call dropped, ";
inline constexpr char kUnknownExceptionText[] = "unknown exception";

// The library name the engine's lines start with.
inline constexpr char kEngineLibrary[] = "flutter_windows";

// Reports the exception being handled on the standard error stream as one
// line naming `library` and `where`. Call it only from a catch block.
void ReportDroppedCall(const char* library, const char* where) noexcept;

// The same for the engine library itself.
inline void ReportDroppedCall(const char* where) noexcept {
  ReportDroppedCall(kEngineLibrary, where);
}

}  // namespace norvalis_engine

#endif  // PLATFORM_ENGINE_DROPPED_CALL_H_
