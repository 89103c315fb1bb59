// stdcodec: shows the messages of the standard message codec as text and
// writes text back as messages, for debugging platform-channel traffic.

#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/stdcodec/hex_text.h"
#include "tools/stdcodec/message.h"
#include "tools/stdcodec/message_coder.h"
#include "tools/stdcodec/text_error.h"
#include "tools/stdcodec/value_text_reader.h"
#include "tools/stdcodec/value_text_writer.h"

namespace stdcodec {
namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitBadInput = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kUsage =
    R"(Usage: stdcodec COMMAND [--call | --envelope] [--hex]

Shows messages of the standard message codec, as platform channels carry
them, as text, and writes such text back as messages. Reads standard input,
writes standard output.

Commands:
  dump       read a message, print it as text
  encode     read text, write the message it describes
  reencode   read a message, decode it and write it encoded again

Options:
  --call       the message is a method call: a method name and arguments
  --envelope   the message is a reply: a success or an error envelope, or
               the empty not-implemented reply
               (without either option the message is one value)
  --hex        messages are hex text (pairs of hex digits, white space
               between pairs ignored) instead of binary
  --help       print this help

Exit status: 0 when done; 1 for bad input (unreadable text or hex, a message
the codec reports as malformed or that has bytes left over); 2 for a usage
error.
)";

enum class Command {
  kDump,
  kEncode,
  kReencode,
};

struct Options {
  Command command = Command::kDump;
  MessageKind kind = MessageKind::kValue;
  bool hex = false;
  bool help = false;
};

// False, with `error` set, when `arguments` are not a valid command line.
bool ParseArguments(const std::vector<std::string_view>& arguments,
                    Options* options,
                    std::string* error) {
  bool have_command = false;
  bool have_kind = false;
  for (std::string_view argument : arguments) {
    if (argument == "--help" || argument == "-h") {
      options->help = true;
    } else if (argument == "--hex") {
      options->hex = true;
    } else if (argument == "--call" || argument == "--envelope") {
      MessageKind kind = argument == "--call" ? MessageKind::kCall : MessageKind::kEnvelope;
      if (have_kind && options->kind != kind) {
        *error = "--call and --envelope exclude each other";
        return false;
      }
      have_kind = true;
      options->kind = kind;
    } else if (argument.starts_with("-")) {
      *error = "unknown option '" + std::string(argument) + "'";
      return false;
    } else if (have_command) {
      *error = "unexpected argument '" + std::string(argument) + "'";
      return false;
    } else if (argument == "dump" || argument == "encode" || argument == "reencode") {
      have_command = true;
      options->command = argument == "dump"     ? Command::kDump
                         : argument == "encode" ? Command::kEncode
                                                : Command::kReencode;
    } else {
      *error = "unknown command '" + std::string(argument) + "'";
      return false;
    }
  }
  if (!have_command && !options->help) {
    *error = "no command given";
    return false;
  }
  return true;
}

std::string ReadStandardInput() {
  std::string input;
  char buffer[1 << 16];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof(buffer), stdin)) > 0) {
    input.append(buffer, count);
  }
  return input;
}

bool WriteStandardOutput(std::string_view output) {
  return std::fwrite(output.data(), 1, output.size(), stdout) == output.size() &&
         std::fflush(stdout) == 0;
}

void ReportError(const std::string& text) {
  std::cerr << "stdcodec: " << text << std::endl;
}

// Reads the message bytes, binary or hex; false after reporting bad hex.
bool ReadMessageBytes(const Options& options, std::vector<uint8_t>* bytes) {
  std::string input = ReadStandardInput();
  if (!options.hex) {
    bytes->assign(input.begin(), input.end());
    return true;
  }
  TextError error;
  if (!ParseHex(input, bytes, &error)) {
    ReportError("bad hex: " + error.ToString());
    return false;
  }
  return true;
}

std::string FormatBytes(const Options& options, const std::vector<uint8_t>& bytes) {
  return options.hex ? FormatHex(bytes) : std::string(bytes.begin(), bytes.end());
}

// Decodes standard input and reports what was wrong with it. The output is
// the text (dump) or the bytes (reencode) of what the codec decoded, so a
// malformed message still shows how the receiving side would see it.
int DumpOrReencode(const Options& options) {
  std::vector<uint8_t> bytes;
  if (!ReadMessageBytes(options, &bytes)) {
    return kExitBadInput;
  }
  DecodedMessage decoded = DecodeMessage(options.kind, bytes);
  bool written = true;
  if (decoded.decoded) {
    written = WriteStandardOutput(options.command == Command::kDump
                                      ? ValueTextWriter::FormatMessage(decoded.message)
                                      : FormatBytes(options, EncodeMessage(decoded.message)));
  }
  for (const std::string& problem : decoded.problems) {
    ReportError(problem);
  }
  if (decoded.codec_diagnostics != 0) {
    ReportError("the codec reported the message as malformed (" +
                std::to_string(decoded.codec_diagnostics) +
                (decoded.codec_diagnostics == 1 ? " line" : " lines") + " above)");
  }
  if (!written) {
    ReportError("cannot write standard output");
    return kExitBadInput;
  }
  return decoded.Clean() ? kExitSuccess : kExitBadInput;
}

int Encode(const Options& options) {
  std::string text = ReadStandardInput();
  ValueTextReader reader(text);
  Message message;
  if (!reader.ReadMessage(options.kind, &message)) {
    ReportError(reader.error().ToString());
    return kExitBadInput;
  }
  if (!WriteStandardOutput(FormatBytes(options, EncodeMessage(message)))) {
    ReportError("cannot write standard output");
    return kExitBadInput;
  }
  return kExitSuccess;
}

int Run(int argc, char** argv) {
  std::vector<std::string_view> arguments(argv + 1, argv + argc);
  Options options;
  std::string error;
  if (!ParseArguments(arguments, &options, &error)) {
    ReportError(error);
    std::cerr << "Try 'stdcodec --help'." << std::endl;
    return kExitUsage;
  }
  if (options.help) {
    return WriteStandardOutput(kUsage) ? kExitSuccess : kExitBadInput;
  }
  return options.command == Command::kEncode ? Encode(options) : DumpOrReencode(options);
}

}  // namespace
}  // namespace stdcodec

int main(int argc, char** argv) {
  return stdcodec::Run(argc, argv);
}
