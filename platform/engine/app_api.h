#ifndef PLATFORM_ENGINE_APP_API_H_
#define PLATFORM_ENGINE_APP_API_H_

// What the stand-in engine offers the application code it runs (app.so).
//
// The engine loads app.so and calls its exported NorvalisAppMain on the
// application thread, a thread of the engine's own. After NorvalisAppMain
// returns, the application thread keeps running until the engine ends and
// calls the application's reply and message callbacks there, one at a time,
// in the order they were posted. Nothing is called after the engine has
// ended. The engine draws no frame before NorvalisAppMain has returned: an
// application has nothing to show before it has started.
//
// The engine ends on the main thread, after the callback that the
// application thread runs at that moment has returned; callbacks still
// queued are dropped. A callback must therefore not wait for the main thread
// (SendMessageW to a host window, say) at a time when the host may be
// closing.
//
// When the system's fonts change, the host's message {"type":"fontsChange"}
// (UTF-8 JSON) arrives on the channel "flutter/system".

#include <stddef.h>
#include <stdint.h>

#ifdef _WIN32
#define NORVALIS_APP_EXPORT __declspec(dllexport)
#else
#define NORVALIS_APP_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// The running engine, as the application sees it; valid until the engine ends.
typedef struct NorvalisAppEngine NorvalisAppEngine;

// One message from the host that waits for the application's answer.
typedef struct NorvalisAppResponse NorvalisAppResponse;

// The host's answer to a message; `reply` is null when the answer is empty
// (also when no host handler exists for the channel).
typedef void (*NorvalisAppReplyCallback)(const uint8_t* reply, size_t reply_size, void* user_data);

// A message from the host. `message` is valid during the call only;
// `response` must be answered once with `respond`, from any callback.
typedef void (*NorvalisAppMessageCallback)(const uint8_t* message,
                                           size_t message_size,
                                           NorvalisAppResponse* response,
                                           void* user_data);

// Runs once after a frame has been drawn and the host's own next-frame
// callback has run.
typedef void (*NorvalisAppFrameCallback)(void* user_data);

// The engine's functions, passed to NorvalisAppMain. Every function may be
// called from the application thread only.
typedef struct {
  NorvalisAppEngine* engine;

  // Sends `message` on `channel` (UTF-8) to the host. `reply` (may be null)
  // is called once with the answer.
  void (*send_message)(NorvalisAppEngine* engine,
                       const char* channel,
                       const uint8_t* message,
                       size_t message_size,
                       NorvalisAppReplyCallback reply,
                       void* user_data);

  // Receives the host's messages on `channel`; a null handler removes it.
  // Messages on a channel without handler are answered empty.
  void (*set_message_handler)(NorvalisAppEngine* engine,
                              const char* channel,
                              NorvalisAppMessageCallback handler,
                              void* user_data);

  // Answers a message from the host; `response` is spent afterwards.
  void (*respond)(NorvalisAppEngine* engine,
                  NorvalisAppResponse* response,
                  const uint8_t* reply,
                  size_t reply_size);

  // Calls `callback` once after the next frame, after the host's own
  // next-frame callback has returned. Frames are drawn when the host asks
  // for one; adding a callback asks for none.
  void (*add_post_frame_callback)(NorvalisAppEngine* engine,
                                  NorvalisAppFrameCallback callback,
                                  void* user_data);

  // Asks the host to close its top-level window, as the user would.
  void (*close_window)(NorvalisAppEngine* engine);
} NorvalisAppHost;

// The entry point app.so exports under this name. `argv` holds the
// entrypoint arguments in UTF-8 (null when `argc` is 0); `entrypoint` is the
// entrypoint name, empty for the default one. Neither outlives the call.
#define NORVALIS_APP_MAIN_NAME "NorvalisAppMain"
typedef void (*NorvalisAppMainFunction)(const NorvalisAppHost* host,
                                        const char* entrypoint,
                                        int argc,
                                        const char* const* argv);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_ENGINE_APP_API_H_
