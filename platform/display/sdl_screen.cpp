// The SDL2 screen: a window of the phone screen's size scaled by a whole
// factor (or the whole monitor with --fullscreen), presented with vsync. The
// mouse and touch are the stylus; keys as the phone's pad and soft keys.
#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <limits>

#include "platform/display/screen.h"
#include "platform/display/script.h"
#include "platform/win32/clock.h"
#include "platform/win32/text.h"
#include "platform/window/input.h"
#include "platform/window/window.h"

namespace display {

namespace {

// SDL2 is opened when a window is first asked for instead of being linked: with the libraries it
// brings along (sound servers, X11, Wayland: some fifty) it would cost every start, headless ones
// included, about 15 ms of loading.
#define MIVO_SDL_FUNCTIONS(X) \
  X(CreateRenderer) \
  X(CreateTexture) \
  X(CreateWindow) \
  X(DestroyRenderer) \
  X(DestroyTexture) \
  X(DestroyWindow) \
  X(GetClipboardText) \
  X(GetDisplayUsableBounds) \
  X(GetError) \
  X(GetWindowFlags) \
  X(HasClipboardText) \
  X(Init) \
  X(MinimizeWindow) \
  X(PollEvent) \
  X(PushEvent) \
  X(Quit) \
  X(RaiseWindow) \
  X(RegisterEvents) \
  X(RenderClear) \
  X(RenderCopy) \
  X(RenderPresent) \
  X(RenderSetIntegerScale) \
  X(RenderSetLogicalSize) \
  X(RestoreWindow) \
  X(SetClipboardText) \
  X(SetHint) \
  X(SetWindowSize) \
  X(ShowWindow) \
  X(StartTextInput) \
  X(UpdateTexture) \
  X(WaitEvent) \
  X(WaitEventTimeout) \
  X(free)

struct SdlApi {
#define MIVO_SDL_MEMBER(name) decltype(&::SDL_##name) name = nullptr;
  MIVO_SDL_FUNCTIONS(MIVO_SDL_MEMBER)
#undef MIVO_SDL_MEMBER
};

const SdlApi* g_sdl = nullptr;  // set by the first LoadSdl that succeeds

// The library's functions; null with the reason in `error` when it cannot be opened. Loaded once
// and kept for the life of the process (SDL may keep threads of its own).
const SdlApi* LoadSdl(std::string* error) {
  static SdlApi api;
  static std::string failure;
  static bool tried = false;
  if (!tried) {
    tried = true;
    void* library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
      const char* why = dlerror();
      failure = std::string("SDL2 cannot be loaded (") + (why ? why : "libSDL2-2.0.so.0") + ")";
    }
#define MIVO_SDL_LOOKUP(name)                                                             \
  if (library && failure.empty()) {                                                       \
    api.name = reinterpret_cast<decltype(api.name)>(dlsym(library, "SDL_" #name));        \
    if (!api.name) failure = "SDL2 has no SDL_" #name;                                    \
  }
    MIVO_SDL_FUNCTIONS(MIVO_SDL_LOOKUP)
#undef MIVO_SDL_LOOKUP
    if (failure.empty()) g_sdl = &api;
  }
  if (!g_sdl && error) *error = failure;
  return g_sdl;
}
#undef MIVO_SDL_FUNCTIONS

UINT KeyFromSdl(SDL_Keycode k) {
  if (k >= SDLK_a && k <= SDLK_z) return static_cast<UINT>('A' + (k - SDLK_a));
  if (k >= SDLK_0 && k <= SDLK_9) return static_cast<UINT>('0' + (k - SDLK_0));
  if (k >= SDLK_F1 && k <= SDLK_F12) return VK_F1 + static_cast<UINT>(k - SDLK_F1);
  switch (k) {
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    default: return 0;
  }
}

class SdlScreen : public Screen {
 public:
  ~SdlScreen() override {
    if (m_texture) g_sdl->DestroyTexture(m_texture);
    if (m_renderer) g_sdl->DestroyRenderer(m_renderer);
    if (m_window) g_sdl->DestroyWindow(m_window);
    if (m_started) g_sdl->Quit();
  }

  bool Open(const ScreenOptions& options, std::string* error) override {
    if (!LoadSdl(error)) return false;
    g_sdl->SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (g_sdl->Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
      *error = std::string("no display (") + g_sdl->GetError() + ")";
      return false;
    }
    m_started = true;
    m_wakeEvent = g_sdl->RegisterEvents(1);
    m_fullscreen = options.fullscreen;
    m_width = options.width;
    m_height = options.height;
    m_scale = options.scale > 0 ? options.scale : FittingScale();
    Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_ALLOW_HIGHDPI;
    if (m_fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    m_window = g_sdl->CreateWindow("mivo", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, m_width * m_scale,
                                m_height * m_scale, flags);
    if (!m_window) {
      *error = std::string("cannot open a window (") + g_sdl->GetError() + ")";
      return false;
    }
    m_renderer = g_sdl->CreateRenderer(m_window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!m_renderer) m_renderer = g_sdl->CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
    if (!m_renderer) {
      *error = std::string("cannot draw in the window (") + g_sdl->GetError() + ")";
      return false;
    }
    // Mouse coordinates arrive in screen pixels whatever the window's scale.
    g_sdl->RenderSetLogicalSize(m_renderer, m_width, m_height);
    g_sdl->RenderSetIntegerScale(m_renderer, SDL_TRUE);
    g_sdl->StartTextInput();
    return MakeTexture(error);
  }

  void Resize(int width, int height) override {
    m_width = width;
    m_height = height;
    if (!m_fullscreen) g_sdl->SetWindowSize(m_window, width * m_scale, height * m_scale);
    g_sdl->RenderSetLogicalSize(m_renderer, width, height);
    std::string error;
    MakeTexture(&error);
  }

  void Present(const window::FrameView& frame) override {
    if (!frame.pixels || !m_texture) return;
    g_sdl->UpdateTexture(m_texture, nullptr, frame.pixels, frame.stride * 4);
    g_sdl->RenderClear(m_renderer);
    g_sdl->RenderCopy(m_renderer, m_texture, nullptr, nullptr);
    g_sdl->RenderPresent(m_renderer);
    ++m_presented;
  }

  const char* Name() const override { return "sdl"; }

  void WaitForEvents(std::uint64_t dueMs) override {
    PresentIfDirty();
    if (m_script && m_script->AtIdle(dueMs)) return;
    std::uint64_t until = dueMs;
    if (m_script) until = std::min(until, m_script->WaitDeadline());
    SDL_Event e;
    int got;
    if (until == std::numeric_limits<std::uint64_t>::max()) {
      got = g_sdl->WaitEvent(&e);
    } else {
      const std::uint64_t now = sysclock::NowMs();
      const int timeout = until > now ? static_cast<int>(std::min<std::uint64_t>(until - now, 1000000)) : 0;
      got = g_sdl->WaitEventTimeout(&e, timeout);
    }
    if (got) Handle(e);
    PollEvents();
  }

  bool HasHostClipboard() const override { return true; }
  bool GetHostClipboardText(std::u16string* text) override {
    if (!g_sdl->HasClipboardText()) return false;
    char* utf8 = g_sdl->GetClipboardText();
    if (!utf8) return false;
    *text = text::FromUtf8(utf8);
    g_sdl->free(utf8);
    return true;
  }
  void SetHostClipboardText(const std::u16string& text) override {
    g_sdl->SetClipboardText(text::ToUtf8(text).c_str());
  }

  void RaiseHostWindow() override {
    if (!m_window) return;
    g_sdl->ShowWindow(m_window);
    if (g_sdl->GetWindowFlags(m_window) & SDL_WINDOW_MINIMIZED) g_sdl->RestoreWindow(m_window);
    g_sdl->RaiseWindow(m_window);
  }

  void MinimizeHostWindow() override {
    if (m_window && !m_fullscreen) g_sdl->MinimizeWindow(m_window);
  }

  void PollEvents() override {
    SDL_Event e;
    while (g_sdl->PollEvent(&e)) Handle(e);
  }

  void Wake() override {
    // One wake-up event in the queue is enough, however many posts arrive.
    if (m_wakePending.exchange(true)) return;
    SDL_Event e{};
    e.type = m_wakeEvent;
    g_sdl->PushEvent(&e);  // thread-safe
  }

 private:
  int FittingScale() const {
    SDL_Rect usable;
    if (g_sdl->GetDisplayUsableBounds(0, &usable) != 0) return 1;
    int scale = 1;
    while (m_width * (scale + 1) <= usable.w && m_height * (scale + 1) <= usable.h - 40) ++scale;
    return scale;
  }

  bool MakeTexture(std::string* error) {
    if (m_texture) g_sdl->DestroyTexture(m_texture);
    m_texture =
        g_sdl->CreateTexture(m_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, m_width, m_height);
    if (!m_texture) {
      *error = std::string("cannot make the screen texture (") + g_sdl->GetError() + ")";
      return false;
    }
    return true;
  }

  void Handle(const SDL_Event& e) {
    if (e.type == m_wakeEvent) {
      m_wakePending = false;
      return;
    }
    switch (e.type) {
      case SDL_QUIT:
        if (onCloseRequest) onCloseRequest();
        break;
      case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT) window::input::StylusDown(e.button.x, e.button.y);
        break;
      case SDL_MOUSEMOTION:
        if (e.motion.state & SDL_BUTTON_LMASK) window::input::StylusMove(e.motion.x, e.motion.y);
        break;
      case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT) window::input::StylusUp(e.button.x, e.button.y);
        break;
      case SDL_KEYDOWN: {
        const SDL_Keycode sym = e.key.keysym.sym;
        if ((e.key.keysym.mod & KMOD_CTRL) && sym >= SDLK_a && sym <= SDLK_z) {
          // Ctrl with a letter is a control character, as the platform types
          // it (Ctrl+V is 0x16): SDL sends no text for it.
          window::input::Text(std::u16string(1, static_cast<char16_t>(sym - SDLK_a + 1)));
          break;
        }
        const UINT vk = KeyFromSdl(sym);
        if (vk) window::input::KeyDown(vk, true);
        break;
      }
      case SDL_KEYUP: {
        const UINT vk = KeyFromSdl(e.key.keysym.sym);
        if (vk) window::input::KeyUp(vk);
        break;
      }
      case SDL_TEXTINPUT:
        window::input::Text(text::FromUtf8(e.text.text));
        break;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED) window::MarkFrameDirty();
        // The user brought the window back on the host: so comes the program
        // that was minimised with it (posted: the queue is waiting here).
        if (e.window.event == SDL_WINDOWEVENT_RESTORED) RunOnUiThread([] { window::RestoreMinimizedWindow(); });
        break;
      default:
        break;
    }
  }

  SDL_Window* m_window = nullptr;
  SDL_Renderer* m_renderer = nullptr;
  SDL_Texture* m_texture = nullptr;  // the framebuffer's copy on the GPU side
  Uint32 m_wakeEvent = 0;            // our event type for Wake
  std::atomic<bool> m_wakePending{false};  // a wake-up event is in SDL's queue
  bool m_started = false;            // SDL_Init succeeded
  bool m_fullscreen = false;
  int m_width = 0;
  int m_height = 0;
  int m_scale = 1;
};

}  // namespace

std::unique_ptr<Screen> CreateSdlScreen() { return std::make_unique<SdlScreen>(); }

}  // namespace display
