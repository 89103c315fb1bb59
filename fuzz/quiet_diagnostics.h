#ifndef FUZZ_QUIET_DIAGNOSTICS_H_
#define FUZZ_QUIET_DIAGNOSTICS_H_

namespace norvalis_fuzz {

// Drops what is written to std::cerr, where the codec puts its diagnostic
// lines: malformed inputs print one per failed read, and writing them would
// dominate the fuzzing time. File descriptor 2 stays open, so libFuzzer's and
// the sanitizers' own reports, which are written to it directly, still show.
void SilenceCodecDiagnostics();

}  // namespace norvalis_fuzz

#endif  // FUZZ_QUIET_DIAGNOSTICS_H_
