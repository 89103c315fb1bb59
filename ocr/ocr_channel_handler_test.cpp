// The "recognize" handler: which calls reach the recognition, and how each
// outcome is answered.

#include "ocr/ocr_channel_handler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#if defined(__GLIBC__)
#include <pthread.h>
#endif

#include <memory>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "codec/encodable_value.h"
#include "ocr/message_failure.h"
#include "ocr/ocr_test_support.h"
#include "ocr/ocr_worker.h"
#include "ocr/recognize_image_file.h"
#include "ocr/scripted_platform.h"

namespace {

using flutter::EncodableValue;
using flutter::ValueList;
using flutter::ValueMap;
using ::testing::Contains;
using ::testing::IsEmpty;

// Every answer given through the result, after the handler has returned.
struct Answers {
  struct Answer {
    enum class Kind { kSuccess, kError, kNotImplemented };
    explicit Answer(Kind answer_kind) : kind(answer_kind) {}

    Kind kind;
    std::optional<EncodableValue> value;
    std::string code;
    std::string message;
    bool has_details = false;
  };
  std::vector<Answer> given;
  bool released = false;
};

class RecordingResult : public flutter::MethodResult<EncodableValue> {
 public:
  // With `out_of_memory_on_success`, building a success reply runs out of
  // memory before anything is sent.
  explicit RecordingResult(Answers& answers, bool out_of_memory_on_success = false)
      : answers_(answers), out_of_memory_on_success_(out_of_memory_on_success) {}
  ~RecordingResult() override { answers_.released = true; }

  void DeliverSuccess(const EncodableValue* result) override {
    if (out_of_memory_on_success_) {
      throw std::bad_alloc();
    }
    Answers::Answer answer(Answers::Answer::Kind::kSuccess);
    if (result != nullptr) {
      answer.value = *result;
    }
    answers_.given.push_back(std::move(answer));
  }
  void DeliverError(const std::string& code,
                    const std::string& message,
                    const EncodableValue* details) override {
    Answers::Answer answer(Answers::Answer::Kind::kError);
    answer.code = code;
    answer.message = message;
    answer.has_details = details != nullptr;
    answers_.given.push_back(std::move(answer));
  }
  void DeliverNotImplemented() override {
    answers_.given.push_back(Answers::Answer{Answers::Answer::Kind::kNotImplemented});
  }

 private:
  Answers& answers_;
  bool out_of_memory_on_success_;
};

Answers Handle(const std::string& method,
               std::optional<EncodableValue> arguments,
               bool out_of_memory_on_success = false) {
  Answers answers;
  const flutter::MethodCall<EncodableValue> call(
      method, arguments ? std::make_unique<EncodableValue>(std::move(*arguments)) : nullptr);
  OcrChannelHandler(call, std::make_unique<RecordingResult>(answers, out_of_memory_on_success));
  EXPECT_TRUE(answers.released);
  return answers;
}

#if defined(__GLIBC__)
// While it lives, new threads get a default stack larger than any address
// space, so starting one fails as it does when the system has no thread
// left to give.
class UnstartableThreads {
 public:
  UnstartableThreads() {
    pthread_getattr_default_np(&saved_);
    pthread_attr_t huge;
    pthread_attr_init(&huge);
    pthread_attr_setstacksize(&huge, size_t{1} << 50);
    pthread_setattr_default_np(&huge);
    pthread_attr_destroy(&huge);
  }
  UnstartableThreads(const UnstartableThreads&) = delete;
  UnstartableThreads& operator=(const UnstartableThreads&) = delete;
  ~UnstartableThreads() {
    pthread_setattr_default_np(&saved_);
    pthread_attr_destroy(&saved_);
  }

 private:
  pthread_attr_t saved_;
};
#endif

EncodableValue PathMap(EncodableValue path) {
  return EncodableValue(ValueMap{{EncodableValue("path"), std::move(path)}});
}

void ExpectOneError(const Answers& answers, const std::string& code, const std::string& message) {
  ASSERT_EQ(answers.given.size(), 1u);
  EXPECT_EQ(answers.given[0].kind, Answers::Answer::Kind::kError);
  EXPECT_EQ(answers.given[0].code, code);
  EXPECT_EQ(answers.given[0].message, message);
  EXPECT_FALSE(answers.given[0].has_details);
}

void ExpectOneSuccess(const Answers& answers, const std::string& text) {
  ASSERT_EQ(answers.given.size(), 1u);
  EXPECT_EQ(answers.given[0].kind, Answers::Answer::Kind::kSuccess);
  ASSERT_TRUE(answers.given[0].value.has_value());
  EXPECT_EQ(answers.given[0].value->Get<std::string>(), text);
}

TEST(OcrChannelHandlerTest, OnlyTheExactMethodNameIsImplemented) {
  ScriptedPlatform platform;
  for (const std::string method : {"Recognize", "recognize ", "", "recogniz", "RECOGNIZE"}) {
    const Answers answers = Handle(method, PathMap(EncodableValue("/a.png")));
    ASSERT_EQ(answers.given.size(), 1u) << method;
    EXPECT_EQ(answers.given[0].kind, Answers::Answer::Kind::kNotImplemented) << method;
  }
  // 10 bytes with a trailing NUL are not the 9 of "recognize" either.
  const Answers answers = Handle(std::string("recognize\0", 10), PathMap(EncodableValue("/a.png")));
  EXPECT_EQ(answers.given[0].kind, Answers::Answer::Kind::kNotImplemented);
  EXPECT_THAT(platform.calls(), IsEmpty());
}

TEST(OcrChannelHandlerTest, ACallWithoutAUsablePathIsBadArgsAndRecognisesNothing) {
  ScriptedPlatform platform;
  const std::vector<std::optional<EncodableValue>> unusable = {
      std::nullopt,
      EncodableValue(),
      EncodableValue("/a.png"),
      EncodableValue(ValueMap{}),
      PathMap(EncodableValue(42)),
      PathMap(EncodableValue()),
      PathMap(EncodableValue("")),
      EncodableValue(ValueMap{{EncodableValue("Path"), EncodableValue("/a.png")}}),
      EncodableValue(ValueMap{
          {EncodableValue(std::vector<uint8_t>{'p', 'a', 't', 'h'}), EncodableValue("/a.png")}}),
      EncodableValue(ValueList{EncodableValue("path"), EncodableValue("/a.png")}),
  };
  for (const std::optional<EncodableValue>& arguments : unusable) {
    ExpectOneError(Handle("recognize", arguments), kBadArgsCode,
                   "Param\xC3\xA8tre 'path' manquant");
  }
  EXPECT_THAT(platform.calls(), IsEmpty());
}

TEST(OcrChannelHandlerTest, ThePathIsPassedOnByteForByteAndOtherEntriesAreIgnored) {
  ScriptedPlatform platform;
  const EncodableValue arguments(
      ValueMap{{EncodableValue("path"), EncodableValue(" /a b/\xC3\xA9.png ")},
               {EncodableValue("lang"), EncodableValue(7)},
               {EncodableValue(3), EncodableValue("path")}});

  ExpectOneSuccess(Handle("recognize", arguments), "scripted text");
  EXPECT_EQ(platform.path(), L" /a b/\u00E9.png ");
}

TEST(OcrChannelHandlerTest, AnImageWithoutTextIsASuccessWithTheEmptyString) {
  ScriptedPlatform platform;
  platform.set_text(std::nullopt);

  ExpectOneSuccess(Handle("recognize", PathMap(EncodableValue("/blank.png"))), "");
}

TEST(OcrChannelHandlerTest, AFailedRecognitionIsOcrFailedWithItsText) {
  ScriptedPlatform platform;
  ScriptedPlatform::StepScript missing;
  missing.operation_result = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  platform.Script(ScriptedPlatform::Step::kGetFile, missing);

  ExpectOneError(Handle("recognize", PathMap(EncodableValue("/missing.png"))), kOcrFailedCode,
                 SystemText(missing.operation_result));

  platform.Script(ScriptedPlatform::Step::kGetFile, {});
  platform.set_profile_engine(false);
  platform.set_language_engine(false);
  ExpectOneError(Handle("recognize", PathMap(EncodableValue("/a.png"))), kOcrFailedCode,
                 kMissingEngineMessage);
}

TEST(OcrChannelHandlerTest, AWorkerThatCannotStartIsOcrFailedOnce) {
#if defined(__GLIBC__)
  ScriptedPlatform platform;
  UnstartableThreads no_threads;
  ASSERT_THROW(std::thread([] {}).join(), std::system_error);
  ExpectOneError(Handle("recognize", PathMap(EncodableValue("/a.png"))), kOcrFailedCode,
                 kUnknownOcrErrorMessage);
  EXPECT_THAT(platform.calls(), IsEmpty());
#else
  GTEST_SKIP() << "making thread creation fail needs glibc's default thread attributes";
#endif
}

TEST(OcrChannelHandlerTest, FailuresWithoutATextOfTheirOwnAreOcrFailedOnce) {
  ScriptedPlatform platform;
  const EncodableValue arguments = PathMap(EncodableValue("/a.png"));

  // The recognition succeeded; its reply could not be built.
  ExpectOneError(Handle("recognize", arguments, /*out_of_memory_on_success=*/true), kOcrFailedCode,
                 kUnknownOcrErrorMessage);
  EXPECT_THAT(platform.calls(), Contains("RecognizeAsync"));

  // A code the system has no message for leaves the worker without a text.
  ScriptedPlatform::StepScript unnamed;
  unnamed.call_result = static_cast<HRESULT>(0x80FF1234);
  platform.Script(ScriptedPlatform::Step::kOpen, unnamed);
  ExpectOneError(Handle("recognize", arguments), kOcrFailedCode, kUnknownOcrErrorMessage);
}

TEST(OcrChannelHandlerTest, RecognizeOnWorkerRaisesTheWorkersErrorText) {
  ScriptedPlatform platform;
  EXPECT_EQ(RecognizeOnWorker("/a.png"), "scripted text");

  platform.set_profile_engine(false);
  platform.set_language_engine(false);
  try {
    RecognizeOnWorker("/a.png");
    ADD_FAILURE() << "no failure raised";
  } catch (const MessageFailure& failure) {
    EXPECT_EQ(failure.message(), kMissingEngineMessage);
  }
}

}  // namespace
