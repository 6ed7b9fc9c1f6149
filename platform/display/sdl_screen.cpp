// The SDL2 screen: a window of the phone screen's size scaled by a whole
// factor (or the whole monitor with --fullscreen), presented with vsync. The
// mouse and touch are the stylus; keys as the phone's pad and soft keys.
#include <SDL.h>

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
    if (m_texture) SDL_DestroyTexture(m_texture);
    if (m_renderer) SDL_DestroyRenderer(m_renderer);
    if (m_window) SDL_DestroyWindow(m_window);
    if (m_started) SDL_Quit();
  }

  bool Open(const ScreenOptions& options, std::string* error) override {
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
      *error = std::string("no display (") + SDL_GetError() + ")";
      return false;
    }
    m_started = true;
    m_wakeEvent = SDL_RegisterEvents(1);
    m_fullscreen = options.fullscreen;
    m_width = options.width;
    m_height = options.height;
    m_scale = options.scale > 0 ? options.scale : FittingScale();
    Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_ALLOW_HIGHDPI;
    if (m_fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    m_window = SDL_CreateWindow("mivo", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, m_width * m_scale,
                                m_height * m_scale, flags);
    if (!m_window) {
      *error = std::string("cannot open a window (") + SDL_GetError() + ")";
      return false;
    }
    m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!m_renderer) m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
    if (!m_renderer) {
      *error = std::string("cannot draw in the window (") + SDL_GetError() + ")";
      return false;
    }
    // Mouse coordinates arrive in screen pixels whatever the window's scale.
    SDL_RenderSetLogicalSize(m_renderer, m_width, m_height);
    SDL_RenderSetIntegerScale(m_renderer, SDL_TRUE);
    SDL_StartTextInput();
    return MakeTexture(error);
  }

  void Resize(int width, int height) override {
    m_width = width;
    m_height = height;
    if (!m_fullscreen) SDL_SetWindowSize(m_window, width * m_scale, height * m_scale);
    SDL_RenderSetLogicalSize(m_renderer, width, height);
    std::string error;
    MakeTexture(&error);
  }

  void Present(const window::FrameView& frame) override {
    if (!frame.pixels || !m_texture) return;
    SDL_UpdateTexture(m_texture, nullptr, frame.pixels, frame.stride * 4);
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
    SDL_RenderPresent(m_renderer);
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
      got = SDL_WaitEvent(&e);
    } else {
      const std::uint64_t now = sysclock::NowMs();
      const int timeout = until > now ? static_cast<int>(std::min<std::uint64_t>(until - now, 1000000)) : 0;
      got = SDL_WaitEventTimeout(&e, timeout);
    }
    if (got) Handle(e);
    PollEvents();
  }

  bool HasHostClipboard() const override { return true; }
  bool GetHostClipboardText(std::u16string* text) override {
    if (!SDL_HasClipboardText()) return false;
    char* utf8 = SDL_GetClipboardText();
    if (!utf8) return false;
    *text = text::FromUtf8(utf8);
    SDL_free(utf8);
    return true;
  }
  void SetHostClipboardText(const std::u16string& text) override {
    SDL_SetClipboardText(text::ToUtf8(text).c_str());
  }

  void RaiseHostWindow() override {
    if (!m_window) return;
    SDL_ShowWindow(m_window);
    if (SDL_GetWindowFlags(m_window) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(m_window);
    SDL_RaiseWindow(m_window);
  }

  void MinimizeHostWindow() override {
    if (m_window && !m_fullscreen) SDL_MinimizeWindow(m_window);
  }

  void PollEvents() override {
    SDL_Event e;
    while (SDL_PollEvent(&e)) Handle(e);
  }

  void Wake() override {
    // One wake-up event in the queue is enough, however many posts arrive.
    if (m_wakePending.exchange(true)) return;
    SDL_Event e{};
    e.type = m_wakeEvent;
    SDL_PushEvent(&e);  // thread-safe
  }

 private:
  int FittingScale() const {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
    int scale = 1;
    while (m_width * (scale + 1) <= usable.w && m_height * (scale + 1) <= usable.h - 40) ++scale;
    return scale;
  }

  bool MakeTexture(std::string* error) {
    if (m_texture) SDL_DestroyTexture(m_texture);
    m_texture =
        SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, m_width, m_height);
    if (!m_texture) {
      *error = std::string("cannot make the screen texture (") + SDL_GetError() + ")";
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
