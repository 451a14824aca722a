#include "host/dialog_sdl.h"

#include <cstdio>
#include <string>
#include <cstdlib>

#include "platform/ui/event_loop.h"
#include "platform/ui/window.h"

#if GYRELLE_HAVE_SDL2
#include <SDL.h>

namespace gyhost {

namespace {

constexpr int kWindows = 16;

struct Shown {
  UiWindow* window;
  SDL_Window* sdl;
  SDL_Renderer* renderer;
  SDL_Texture* texture;
  int width, height;
  Uint32 presentedAt;
  bool pending;  // drawn since it was last shown
};

// Rows of a preview arrive one by one; the screen is refreshed at most this
// often, and whatever is pending before the front end waits for input.
constexpr Uint32 kPresentIntervalMs = 40;

Shown g_shown[kWindows];
int g_opened = 0;
UiFrontEnd g_frontEnd;
SDL_Cursor* g_cursors[3];

Shown* Find(const UiWindow* w) {
  for (Shown& s : g_shown)
    if (s.window == w && s.sdl) return &s;
  return nullptr;
}

Shown* FindSdl(Uint32 id) {
  for (Shown& s : g_shown)
    if (s.sdl && SDL_GetWindowID(s.sdl) == id) return &s;
  return nullptr;
}

void Close(Shown* s) {
  if (s->texture) SDL_DestroyTexture(s->texture);
  if (s->renderer) SDL_DestroyRenderer(s->renderer);
  if (s->sdl) SDL_DestroyWindow(s->sdl);
  *s = Shown{};
}

void Present(Shown* s) {
  const UiCanvas& cv = s->window->canvas;
  if (!cv.pixels) return;
  if (!s->texture || s->width != cv.width || s->height != cv.height) {
    if (s->texture) SDL_DestroyTexture(s->texture);
    s->texture = SDL_CreateTexture(s->renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STREAMING, cv.width, cv.height);
    s->width = cv.width;
    s->height = cv.height;
    SDL_SetWindowSize(s->sdl, cv.width, cv.height);
  }
  if (!s->texture) return;
  SDL_UpdateTexture(s->texture, nullptr, cv.pixels, cv.width * 4);
  SDL_RenderClear(s->renderer);
  SDL_RenderCopy(s->renderer, s->texture, nullptr, nullptr);
  SDL_RenderPresent(s->renderer);
  s->presentedAt = SDL_GetTicks();
  s->pending = false;
}

void PresentPending() {
  for (Shown& s : g_shown)
    if (s.sdl && s.pending) Present(&s);
}

void WindowChanged(void*, UiWindow* w) {
  if (!w) return;
  Shown* s = Find(w);
  if (!w->visible) {
    if (s) SDL_HideWindow(s->sdl);
    return;
  }
  if (!s) {
    for (Shown& slot : g_shown)
      if (!slot.sdl) {
        s = &slot;
        break;
      }
    if (!s) return;
    const char* title = w->title[0] ? w->title : w->name;
    s->sdl = SDL_CreateWindow(title, w->bounds.left + 40, w->bounds.top + 40, w->canvas.width, w->canvas.height,
                              SDL_WINDOW_SHOWN);
    if (!s->sdl) return;
    s->renderer = SDL_CreateRenderer(s->sdl, -1, SDL_RENDERER_SOFTWARE);
    s->window = w;
    s->presentedAt = SDL_GetTicks() - kPresentIntervalMs;
    ++g_opened;
    std::fprintf(stderr, "opened the window \"%s\" on the display\n", w->name);
  }
  SDL_ShowWindow(s->sdl);
  s->pending = true;
  if (SDL_GetTicks() - s->presentedAt >= kPresentIntervalMs) Present(s);
}

void WindowGone(void*, UiWindow* w) {
  if (Shown* s = Find(w)) Close(s);
}

void CursorChanged(void*, int32_t cursor) {
  const int i = cursor == kUiCursorOpenHand || cursor == kUiCursorClosedHand ? 1 : cursor == kUiCursorWatch ? 2 : 0;
  if (g_cursors[i]) SDL_SetCursor(g_cursors[i]);
}

uint32_t Modifiers(Uint16 mod) {
  uint32_t m = 0;
  if (mod & KMOD_ALT) m |= kUiOptionKeyBit;
  if (mod & KMOD_CTRL) m |= kUiControlKeyBit;
  if (mod & KMOD_SHIFT) m |= kUiShiftKeyBit;
  if (mod & KMOD_GUI) m |= kUiCommandKeyBit;
  return m;
}

bool Translate(const SDL_Event& e, UiInput* out) {
  *out = UiInput{};
  switch (e.type) {
    case SDL_QUIT:
      out->type = kUiInputEnd;
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      Shown* s = FindSdl(e.button.windowID);
      if (!s || e.button.button != SDL_BUTTON_LEFT) return false;
      out->type = e.type == SDL_MOUSEBUTTONDOWN ? kUiInputMouseDown : kUiInputMouseUp;
      out->window = s->window;
      out->where = UiPoint{float(e.button.x), float(e.button.y)};
      out->modifiers = Modifiers(Uint16(SDL_GetModState()));
      return true;
    }
    case SDL_MOUSEMOTION: {
      Shown* s = FindSdl(e.motion.windowID);
      if (!s) return false;
      out->type = kUiInputMouseMove;
      out->window = s->window;
      out->where = UiPoint{float(e.motion.x), float(e.motion.y)};
      out->modifiers = Modifiers(Uint16(SDL_GetModState()));
      return true;
    }
    case SDL_MOUSEWHEEL: {
      Shown* s = FindSdl(e.wheel.windowID);
      if (!s || e.wheel.y == 0) return false;
      int x = 0, y = 0;
      SDL_GetMouseState(&x, &y);
      out->type = kUiInputWheel;
      out->window = s->window;
      out->where = UiPoint{float(x), float(y)};
      out->wheel = e.wheel.y > 0 ? -1 : 1;
      return true;
    }
    case SDL_KEYDOWN: {
      Shown* s = FindSdl(e.key.windowID);
      if (!s) return false;
      const struct {
        SDL_Keycode sym;
        int32_t key;
      } keys[] = {{SDLK_RETURN, kUiKeyReturn}, {SDLK_KP_ENTER, kUiKeyReturn}, {SDLK_ESCAPE, kUiKeyEscape},
                  {SDLK_TAB, kUiKeyTab},       {SDLK_BACKSPACE, kUiKeyBackspace}, {SDLK_UP, kUiKeyUp},
                  {SDLK_DOWN, kUiKeyDown}};
      for (const auto& k : keys)
        if (e.key.keysym.sym == k.sym) {
          int x = 0, y = 0;
          SDL_GetMouseState(&x, &y);
          out->type = kUiInputKey;
          out->window = s->window;
          out->key = k.key;
          out->where = UiPoint{float(x), float(y)};
          out->modifiers = Modifiers(e.key.keysym.mod);
          return true;
        }
      return false;
    }
    case SDL_TEXTINPUT: {
      Shown* s = FindSdl(e.text.windowID);
      if (!s) return false;
      out->type = kUiInputText;
      out->window = s->window;
      // Only ASCII reaches the Mac Roman fields.
      int n = 0;
      for (const char* c = e.text.text; *c && n + 1 < int(sizeof out->text); ++c)
        if (uint8_t(*c) < 128) out->text[n++] = *c;
      return n > 0;
    }
    case SDL_DROPFILE: {
      // A file from the desktop: let go over the window under the pointer.
      static std::string dropped;
      dropped = e.drop.file ? e.drop.file : "";
      SDL_free(e.drop.file);
      Shown* s = FindSdl(e.drop.windowID);
      if (!s || dropped.empty()) return false;
      int x = 0, y = 0;
      SDL_GetMouseState(&x, &y);
      out->type = kUiInputDropFile;
      out->window = s->window;
      out->where = UiPoint{float(x), float(y)};
      out->path = dropped.c_str();
      return true;
    }
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
        Shown* s = FindSdl(e.window.windowID);
        if (!s) return false;
        // Closing a window is its Cancel.
        out->type = kUiInputKey;
        out->window = s->window;
        out->key = kUiKeyEscape;
        return true;
      }
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED)
        if (Shown* s = FindSdl(e.window.windowID)) Present(s);
      return false;
    default:
      return false;
  }
}

bool Next(void*, UiInput* out, double waitMs) {
  PresentPending();
  SDL_Event e;
  const int timeout = waitMs < 0 ? 100 : int(waitMs);
  const Uint32 start = SDL_GetTicks();
  for (;;) {
    const Uint32 spent = SDL_GetTicks() - start;
    if (!SDL_WaitEventTimeout(&e, waitMs < 0 ? timeout : (timeout > int(spent) ? timeout - int(spent) : 0))) {
      if (waitMs >= 0) return false;
      continue;
    }
    if (Translate(e, out)) return true;
    if (waitMs >= 0 && SDL_GetTicks() - start >= Uint32(timeout)) return false;
  }
}

void Stop() {
  for (Shown& s : g_shown)
    if (s.sdl) Close(&s);
  for (SDL_Cursor*& c : g_cursors)
    if (c) SDL_FreeCursor(c), c = nullptr;
  SDL_Quit();
}

}  // namespace

const void* StartSdlFrontEnd() {
  static bool started = false;
  if (started) return &g_frontEnd;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "cannot open the display: %s\n", SDL_GetError());
    return nullptr;
  }
  started = true;
  g_cursors[0] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  g_cursors[1] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
  g_cursors[2] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
  SDL_StartTextInput();
  std::atexit(Stop);
  g_frontEnd = UiFrontEnd{nullptr, Next, WindowChanged, WindowGone, CursorChanged, true};
  return &g_frontEnd;
}

int SdlWindowsOpened() { return g_opened; }

}  // namespace gyhost

#else

namespace gyhost {
const void* StartSdlFrontEnd() { return nullptr; }
int SdlWindowsOpened() { return 0; }
}  // namespace gyhost

#endif
