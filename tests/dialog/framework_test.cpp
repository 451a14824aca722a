// The view class framework: a small subclass registered under a class id,
// made by a window that names it, answering the control events through its
// virtual operations.
#include <gtest/gtest.h>

#include "dialog/HIFramework/t_view.h"
#include "platform/ui/view_class.h"
#include "platform/ui/window.h"
#include "tests/dialog/ui_fixture.h"

namespace {

int g_alive = 0;
int g_zordestructs = 0;
int g_draws = 0;

class TProbeView : public TView {
 public:
  explicit TProbeView(UiControl* view) : TView(view) { ++g_alive; }
  ~TProbeView() override { --g_alive; }
  TControlKind GetKind() override { return TControlKind{MakeFourCC("GYRL"), MakeFourCC("prob")}; }
  void Draw(void*, UiCanvas* cv) override {
    ++g_draws;
    if (cv) UiFillRect(cv, fObject->bounds, UiColor{10, 200, 30, 255});
  }
  int16_t HitTest(const UiPoint& p) override { return p.x < 10 ? 2 : 1; }
  UiStatus zordestruct() override {
    ++g_zordestructs;
    return kUiNoErr;
  }
  static UiStatus Construct(UiControl* object, TObject** out) {
    *out = new TProbeView(object);
    return kUiNoErr;
  }
};

constexpr const char* kProbeClass = "com.gyrelle.test.probe";

const UiItemDefinition kItems[] = {
    {MakeFourCC("TWPP"), 1, kUiKindCustom, 0, {10, 10, 40, 60}, 0, 0, 0, nullptr, kProbeClass, 0}};
const UiWindowDefinition kWindow{"probe", "", 80, 60, kUiWindowClassDocument, 0, kItems, 1};

struct Registered {
  Registered() { EXPECT_EQ(TObject::RegisterSubclass(kProbeClass, kUiBaseViewClassID, TProbeView::Construct, &cls), kUiNoErr); }
  ~Registered() { UiUnregisterViewClass(cls); }
  UiViewClass* cls = nullptr;
};

UiControl* Probe(UiWindow* w) {
  UiControl* c = nullptr;
  UiGetControlByID(w, UiControlID{MakeFourCC("TWPP"), 1}, &c);
  return c;
}

TEST(ViewFramework, AWindowMakesTheViewAndItsOperationsAnswer) {
  UiFixture fixture;
  Registered reg;
  g_alive = g_zordestructs = g_draws = 0;
  UiWindow* w = UiCreateWindow(&kWindow);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(g_alive, 1);
  UiControl* c = Probe(w);
  ASSERT_NE(c->instance, nullptr);
  UiDrawWindow(w);
  EXPECT_EQ(g_draws, 1);
  EXPECT_EQ(UiPixelAt(&w->canvas, 20, 20).g, 200);

  // 'kind' comes in 8 bytes; a 4-byte buffer is refused but told the size.
  TControlKind kind{};
  uint32_t size = 0;
  EXPECT_EQ(UiGetControlData(c, 0, MakeFourCC("kind"), sizeof kind, &kind, &size), kUiNoErr);
  EXPECT_EQ(kind.kind, MakeFourCC("prob"));
  EXPECT_EQ(size, 8u);
  uint32_t small = 0;
  size = 0;
  EXPECT_EQ(UiGetControlData(c, 0, MakeFourCC("kind"), sizeof small, &small, &size), kUiBadDataSize);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(UiGetControlData(c, 0, MakeFourCC("colr"), 6, &small, &size), kUiEventNotHandled);

  UiEvent e;
  UiInitEvent(&e, kUiClassControl, kUiControlHitTest);
  const UiPoint p{4, 4};
  UiSetEventParameter(&e, kUiParamMouseLocation, kUiTypePoint, sizeof p, &p);
  EXPECT_EQ(UiSendEventToTarget(&e, &c->target), kUiNoErr);
  int16_t part = 0;
  UiGetEventParameter(&e, kUiParamPart, kUiTypeInt16, sizeof part, &part);
  EXPECT_EQ(part, 2);
  // A control kind no row lists falls through to the default behaviour.
  UiInitEvent(&e, kUiClassControl, 999);
  EXPECT_EQ(UiSendEventToTarget(&e, &c->target), kUiEventNotHandled);
  // A drag offered to the view is not wanted, and a drop is refused.
  UiInitEvent(&e, kUiClassControl, 21);
  static_cast<TView*>(c->instance)->ActivateInterface(MakeFourCC("drag"));
  EXPECT_EQ(UiSendEventToTarget(&e, &c->target), kUiDragNotAccepted);
  EXPECT_EQ(static_cast<TView*>(c->instance)->ActivateInterface(MakeFourCC("nope")), kUiParamErr);

  UiDisposeWindow(w);
  EXPECT_EQ(g_alive, 0) << "the destruct event deleted the object";
  EXPECT_EQ(g_zordestructs, 1);
  EXPECT_EQ(UiLiveHandlerCount(), 0);
}

TEST(ViewFramework, ADestructOfAnotherObjectLeavesTheViewAlive) {
  UiFixture fixture;
  Registered reg;
  g_alive = g_zordestructs = 0;
  UiWindow* w = UiCreateWindow(&kWindow);
  UiControl* c = Probe(w);
  UiEvent e;
  UiInitEvent(&e, kUiClassObject, kUiObjectDestruct);
  void* someoneElse = &e;
  UiSetEventParameter(&e, kUiParamInstance, kUiTypeVoidPtr, sizeof someoneElse, &someoneElse);
  EXPECT_EQ(UiSendEventToTarget(&e, &c->target), kUiEventNotHandled);
  EXPECT_EQ(g_alive, 1);
  EXPECT_EQ(g_zordestructs, 1);
  UiDisposeWindow(w);
  EXPECT_EQ(g_alive, 0);
}

TEST(ViewFramework, AutoInvalidateFlagsRedrawOnTheirChanges) {
  UiFixture fixture;
  Registered reg;
  UiWindow* w = UiCreateWindow(&kWindow);
  UiControl* c = Probe(w);
  auto* view = static_cast<TView*>(c->instance);
  view->ChangeAutoInvalidateFlags(kAutoInvalidateOnValueChange | kAutoInvalidateOnHilite, kAutoInvalidateOnHilite);
  EXPECT_EQ(view->AutoInvalidateFlags(), kAutoInvalidateOnValueChange);
  UiDrawWindow(w);
  c->max = 10;
  UiSetControlValue(c, 5);
  EXPECT_TRUE(w->needsDraw);
  UiDisposeWindow(w);
}

TEST(ViewFramework, ClassesRegisterOnceAndOnlyOnTheBaseView) {
  UiFixture fixture;
  Registered reg;
  UiViewClass* again = nullptr;
  EXPECT_EQ(TObject::RegisterSubclass(kProbeClass, kUiBaseViewClassID, TProbeView::Construct, &again), kUiClassExists);
  EXPECT_EQ(TObject::RegisterSubclass("com.gyrelle.test.other", "com.example.base", TProbeView::Construct, &again),
            kUiParamErr);
  // An unregistered class leaves the item a plain view.
  UiUnregisterViewClass(reg.cls);
  reg.cls = nullptr;
  g_alive = 0;
  UiWindow* w = UiCreateWindow(&kWindow);
  EXPECT_EQ(Probe(w)->instance, nullptr);
  EXPECT_EQ(g_alive, 0);
  UiDisposeWindow(w);
}

}  // namespace
