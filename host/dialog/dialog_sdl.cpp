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
#include <dlfcn.h>

namespace gyhost {

namespace {

// SDL is opened only when a dialog asks for a display: a run without one
// (every batch job) does not load it and the dozens of libraries it pulls
// in, which took milliseconds at every start. The calls the dialog makes,
// each bound by its name:
#define GYRELLE_SDL_CALLS(X) X(CreateRenderer) X(CreateSystemCursor) X(CreateTexture) X(CreateWindow) \
   X(DestroyRenderer) X(DestroyTexture) X(DestroyWindow) X(FreeCursor) X(GetClipboardText) X(GetDisplayUsableBounds) \
   X(GetError) X(GetModState) X(GetMouseState) X(GetTicks) X(GetWindowID) X(HasClipboardText) X(HideWindow) X(Init) \
   X(Quit) X(RenderClear) X(RenderCopy) X(RenderPresent) X(SetClipboardText) X(SetCursor) X(SetWindowMinimumSize) \
   X(SetWindowSize) X(ShowWindow) X(StartTextInput) X(UpdateTexture) X(WaitEventTimeout) X(free)

struct SdlCalls {
#define GYRELLE_SDL_FIELD(name) decltype(&SDL_##name) name;
  GYRELLE_SDL_CALLS(GYRELLE_SDL_FIELD)
#undef GYRELLE_SDL_FIELD
};

SdlCalls g_sdl;

template <class F>
bool Bind(void* library, const char* name, F* f) {
  *f = reinterpret_cast<F>(dlsym(library, name));
  return *f != nullptr;
}

// False, with the reason, when the library or one of its calls is missing.
bool LoadSdl(std::string* reason) {
  void* library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* why = dlerror();
    *reason = why ? why : "SDL2 is not installed";
    return false;
  }
  bool bound = true;
#define GYRELLE_SDL_BIND(name) bound = bound && Bind(library, "SDL_" #name, &g_sdl.name);
  GYRELLE_SDL_CALLS(GYRELLE_SDL_BIND)
#undef GYRELLE_SDL_BIND
  if (!bound) {
    dlclose(library);
    *reason = "the installed SDL2 lacks a call the dialog needs";
  }
  return bound;
}

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
    if (s.sdl && g_sdl.GetWindowID(s.sdl) == id) return &s;
  return nullptr;
}

void Close(Shown* s) {
  if (s->texture) g_sdl.DestroyTexture(s->texture);
  if (s->renderer) g_sdl.DestroyRenderer(s->renderer);
  if (s->sdl) g_sdl.DestroyWindow(s->sdl);
  *s = Shown{};
}

void Present(Shown* s) {
  const UiCanvas& cv = s->window->canvas;
  if (!cv.pixels) return;
  if (!s->texture || s->width != cv.width || s->height != cv.height) {
    if (s->texture) g_sdl.DestroyTexture(s->texture);
    s->texture = g_sdl.CreateTexture(s->renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STREAMING, cv.width, cv.height);
    s->width = cv.width;
    s->height = cv.height;
    if (s->resizeWidth == 0) g_sdl.SetWindowSize(s->sdl, cv.width, cv.height);
  }
  if (!s->texture) return;
  g_sdl.UpdateTexture(s->texture, nullptr, cv.pixels, cv.width * 4);
  g_sdl.RenderClear(s->renderer);
  g_sdl.RenderCopy(s->renderer, s->texture, nullptr, nullptr);
  g_sdl.RenderPresent(s->renderer);
  s->presentedAt = g_sdl.GetTicks();
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
    if (s) g_sdl.HideWindow(s->sdl);
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
    s->sdl = g_sdl.CreateWindow(title, w->bounds.left, w->bounds.top, w->canvas.width, w->canvas.height, flags);
    if (!s->sdl) return;
    if (w->attributes & kUiWindowResizable) g_sdl.SetWindowMinimumSize(s->sdl, w->minWidth, w->minHeight);
    s->renderer = g_sdl.CreateRenderer(s->sdl, -1, SDL_RENDERER_SOFTWARE);
    s->window = w;
    s->presentedAt = g_sdl.GetTicks() - kPresentIntervalMs;
    ++g_opened;
    std::fprintf(stderr, "opened the window \"%s\" on the display\n", w->name);
  }
  g_sdl.ShowWindow(s->sdl);
  s->pending = true;
  if (g_sdl.GetTicks() - s->presentedAt >= kPresentIntervalMs) Present(s);
}

void WindowGone(void*, UiWindow* w) {
  if (Shown* s = Find(w)) Close(s);
}

bool SetClipboard(void*, const char* roman) {
  char utf8[kUiTitleBytes * 3 + 1];
  MacRomanToUtf8(roman, utf8, sizeof utf8);
  return g_sdl.SetClipboardText(utf8) == 0;
}

bool GetClipboard(void*, char* text, int32_t size) {
  if (!g_sdl.HasClipboardText()) return false;
  char* utf8 = g_sdl.GetClipboardText();
  if (!utf8) return false;
  // Only what the fields can show: printable ASCII, up to the first line end.
  int32_t n = 0;
  for (const char* c = utf8; *c && *c != '\n' && *c != '\r' && n + 1 < size; ++c)
    if (uint8_t(*c) >= 32 && uint8_t(*c) < 127) text[n++] = *c;
  text[n] = 0;
  g_sdl.free(utf8);
  return true;
}

void CursorChanged(void*, int32_t cursor) {
  const int i = cursor == kUiCursorOpenHand || cursor == kUiCursorClosedHand ? 1 : cursor == kUiCursorWatch ? 2 : 0;
  if (g_cursors[i]) g_sdl.SetCursor(g_cursors[i]);
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
      out->modifiers = Modifiers(Uint16(g_sdl.GetModState()));
      return true;
    }
    case SDL_MOUSEMOTION: {
      Shown* s = FindSdl(e.motion.windowID);
      if (!s) return false;
      out->type = kUiInputMouseMove;
      out->window = s->window;
      out->where = UiPoint{float(e.motion.x), float(e.motion.y)};
      out->modifiers = Modifiers(Uint16(g_sdl.GetModState()));
      return true;
    }
    case SDL_MOUSEWHEEL: {
      Shown* s = FindSdl(e.wheel.windowID);
      if (!s || e.wheel.y == 0) return false;
      int x = 0, y = 0;
      g_sdl.GetMouseState(&x, &y);
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
        g_sdl.GetMouseState(&x, &y);
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
          g_sdl.GetMouseState(&x, &y);
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
      g_sdl.free(e.drop.file);
      Shown* s = FindSdl(e.drop.windowID);
      if (!s || dropped.empty()) return false;
      int x = 0, y = 0;
      g_sdl.GetMouseState(&x, &y);
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
          s->resizedAt = g_sdl.GetTicks();
        }
      return false;
    default:
      return false;
  }
}

// A resize whose drag has rested, as an input.
bool RestedResize(UiInput* out) {
  for (Shown& s : g_shown) {
    if (!s.sdl || s.resizeWidth == 0 || g_sdl.GetTicks() - s.resizedAt < kResizeRestMs) continue;
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
  const Uint32 start = g_sdl.GetTicks();
  for (;;) {
    if (RestedResize(out)) return true;
    const Uint32 spent = g_sdl.GetTicks() - start;
    int wait = waitMs < 0 ? timeout : (timeout > int(spent) ? timeout - int(spent) : 0);
    if (ResizePending()) wait = std::min(wait, int(kResizeRestMs));
    if (!g_sdl.WaitEventTimeout(&e, wait)) {
      if (waitMs >= 0 && g_sdl.GetTicks() - start >= Uint32(timeout) && !ResizePending()) return false;
      continue;
    }
    if (Translate(e, out)) return true;
    if (waitMs >= 0 && g_sdl.GetTicks() - start >= Uint32(timeout)) return false;
  }
}

void Stop() {
  for (Shown& s : g_shown)
    if (s.sdl) Close(&s);
  for (SDL_Cursor*& c : g_cursors)
    if (c) g_sdl.FreeCursor(c), c = nullptr;
  g_sdl.Quit();
}

}  // namespace

const void* StartSdlFrontEnd() {
  static bool started = false;
  if (started) return &g_frontEnd;
  static std::string unloadable;
  static const bool loaded = LoadSdl(&unloadable);
  if (!loaded) {
    std::fprintf(stderr, "cannot open the display: %s\n", unloadable.c_str());
    return nullptr;
  }
  if (g_sdl.Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "cannot open the display: %s\n", g_sdl.GetError());
    return nullptr;
  }
  started = true;
  g_cursors[0] = g_sdl.CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  g_cursors[1] = g_sdl.CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
  g_cursors[2] = g_sdl.CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
  g_sdl.StartTextInput();
  std::atexit(Stop);
  SDL_Rect usable;
  if (g_sdl.GetDisplayUsableBounds(0, &usable) == 0)
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
