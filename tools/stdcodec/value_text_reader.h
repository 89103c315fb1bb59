#ifndef TOOLS_STDCODEC_VALUE_TEXT_READER_H_
#define TOOLS_STDCODEC_VALUE_TEXT_READER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "codec/encodable_value.h"
#include "tools/stdcodec/message.h"
#include "tools/stdcodec/text_error.h"

namespace stdcodec {

// Reads the text that ValueTextWriter prints, or the same written by hand
// (any white space, '#' comments, a comma after the last element). The text
// is borrowed and must outlive the reader. Lists and maps may nest as deep as
// the codec decodes them, and no deeper, so whatever reads here also decodes.
class ValueTextReader {
 public:
  explicit ValueTextReader(std::string_view text);
  ValueTextReader(const ValueTextReader&) = delete;
  ValueTextReader& operator=(const ValueTextReader&) = delete;

  // Reads the whole text as one message of `kind`. False, with error() set,
  // when the text is not one; `message` is then partly filled.
  bool ReadMessage(MessageKind kind, Message* message);

  const TextError& error() const { return error_; }

 private:
  bool ReadValue(flutter::EncodableValue* value);
  // One number, or a bracketed list of them, of the kind T names.
  template <typename T>
  bool ReadNumbers(bool is_list, flutter::EncodableValue* value);
  template <typename T>
  bool ReadNumber(T* number);
  bool ReadString(std::string* bytes);
  bool ReadBytes(std::vector<uint8_t>* bytes);
  bool ReadList(flutter::ValueList* list);
  bool ReadMap(flutter::ValueMap* map);

  // Reads the elements of a sequence whose opening bracket is taken, each by
  // `read_element`, separated by commas (one may follow the last), up to
  // and including `close`.
  template <typename ReadElement>
  bool ReadSequence(char close, ReadElement read_element);
  // Takes `c` or fails.
  bool ExpectCharacter(char c);
  // Takes '[' or '{' and enters one more level of nesting.
  bool EnterNesting(char open);
  bool ExpectWord(std::string_view word);
  bool ExpectEnd();
  // The run of word characters (letters, digits and "_.+-()") at the
  // position, not taken.
  std::string_view PeekWord() const;
  void SkipSpace();
  std::string DescribeNext();
  bool Fail(size_t offset, std::string message);

  std::string_view text_;
  size_t position_ = 0;
  int depth_ = 0;
  TextError error_;
};

}  // namespace stdcodec

#endif  // TOOLS_STDCODEC_VALUE_TEXT_READER_H_
