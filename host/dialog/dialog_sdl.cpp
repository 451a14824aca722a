#include "host/dialog/dialog_sdl.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <cstdlib>

#include "platform/mac_roman.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/popup_menu.h"
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
  // A size the person dragged the window to: handed on once the drag rests.
  int resizeWidth, resizeHeight;
  Uint32 resizedAt;
};

// Size events of a drag come in a stream; the window is laid out again
// once they have stopped for this long.
constexpr Uint32 kResizeRestMs = 120;

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
    if (s->resizeWidth == 0) SDL_SetWindowSize(s->sdl, cv.width, cv.height);
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
    // The layer's global coordinates are the screen's: a window opens where
    // the layer put it (an alert centred on its parent, a menu over its popup).
    Uint32 flags = SDL_WINDOW_SHOWN;
    if (w->windowClass == kUiWindowClassMenu)
      flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_ALWAYS_ON_TOP;
    if (w->attributes & kUiWindowResizable) flags |= SDL_WINDOW_RESIZABLE;
    s->sdl = SDL_CreateWindow(title, w->bounds.left, w->bounds.top, w->canvas.width, w->canvas.height, flags);
    if (!s->sdl) return;
    if (w->attributes & kUiWindowResizable) SDL_SetWindowMinimumSize(s->sdl, w->minWidth, w->minHeight);
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

bool SetClipboard(void*, const char* roman) {
  char utf8[kUiTitleBytes * 3 + 1];
  MacRomanToUtf8(roman, utf8, sizeof utf8);
  return SDL_SetClipboardText(utf8) == 0;
}

bool GetClipboard(void*, char* text, int32_t size) {
  if (!SDL_HasClipboardText()) return false;
  char* utf8 = SDL_GetClipboardText();
  if (!utf8) return false;
  // Only what the fields can show: printable ASCII, up to the first line end.
  int32_t n = 0;
  for (const char* c = utf8; *c && *c != '\n' && *c != '\r' && n + 1 < size; ++c)
    if (uint8_t(*c) >= 32 && uint8_t(*c) < 127) text[n++] = *c;
  text[n] = 0;
  SDL_free(utf8);
  return true;
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
                  {SDLK_DOWN, kUiKeyDown},     {SDLK_LEFT, kUiKeyLeft},           {SDLK_RIGHT, kUiKeyRight},
                  {SDLK_HOME, kUiKeyHome},     {SDLK_END, kUiKeyEnd},             {SDLK_DELETE, kUiKeyDelete},
                  {SDLK_PAGEUP, kUiKeyPageUp}, {SDLK_PAGEDOWN, kUiKeyPageDown}};
      // With Control (or the Super key), letters are commands: select all, copy, cut, paste.
      const bool commandLetter = (e.key.keysym.mod & (KMOD_CTRL | KMOD_GUI)) && e.key.keysym.sym >= SDLK_a &&
                                 e.key.keysym.sym <= SDLK_z;
      if (commandLetter) {
        int x = 0, y = 0;
        SDL_GetMouseState(&x, &y);
        out->type = kUiInputKey;
        out->window = s->window;
        out->key = int32_t(e.key.keysym.sym);
        out->where = UiPoint{float(x), float(y)};
        out->modifiers = Modifiers(e.key.keysym.mod);
        return true;
      }
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
      // Only ASCII reaches the Mac Roman fields (the font has no more).
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
      if (e.window.event == SDL_WINDOWEVENT_MOVED)
        if (Shown* s = FindSdl(e.window.windowID)) {
          // Where the window manager put it: menus and alerts open from there.
          const Rect& b = s->window->bounds;
          const int x = e.window.data1, y = e.window.data2;
          if (x != b.left || y != b.top)
            UiSetWindowBounds(s->window, Rect{int16_t(y), int16_t(x), int16_t(y + b.bottom - b.top), int16_t(x + b.right - b.left)});
        }
      if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
        if (Shown* s = FindSdl(e.window.windowID);
            s && (e.window.data1 != s->window->canvas.width || e.window.data2 != s->window->canvas.height)) {
          s->resizeWidth = e.window.data1;
          s->resizeHeight = e.window.data2;
          s->resizedAt = SDL_GetTicks();
        }
      return false;
    default:
      return false;
  }
}

// A resize whose drag has rested, as an input.
bool RestedResize(UiInput* out) {
  for (Shown& s : g_shown) {
    if (!s.sdl || s.resizeWidth == 0 || SDL_GetTicks() - s.resizedAt < kResizeRestMs) continue;
    *out = UiInput{};
    out->type = kUiInputResize;
    out->window = s.window;
    out->where = UiPoint{float(s.resizeWidth), float(s.resizeHeight)};
    s.resizeWidth = s.resizeHeight = 0;
    return true;
  }
  return false;
}

bool ResizePending() {
  for (const Shown& s : g_shown)
    if (s.sdl && s.resizeWidth != 0) return true;
  return false;
}

bool Next(void*, UiInput* out, double waitMs) {
  PresentPending();
  SDL_Event e;
  const int timeout = waitMs < 0 ? 100 : int(waitMs);
  const Uint32 start = SDL_GetTicks();
  for (;;) {
    if (RestedResize(out)) return true;
    const Uint32 spent = SDL_GetTicks() - start;
    int wait = waitMs < 0 ? timeout : (timeout > int(spent) ? timeout - int(spent) : 0);
    if (ResizePending()) wait = std::min(wait, int(kResizeRestMs));
    if (!SDL_WaitEventTimeout(&e, wait)) {
      if (waitMs >= 0 && SDL_GetTicks() - start >= Uint32(timeout) && !ResizePending()) return false;
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
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) == 0)
    UiSetScreenBounds(Rect{int16_t(usable.y), int16_t(usable.x), int16_t(usable.y + usable.h), int16_t(usable.x + usable.w)});
  g_frontEnd = UiFrontEnd{nullptr, Next, WindowChanged, WindowGone, CursorChanged, true, SetClipboard, GetClipboard};
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
