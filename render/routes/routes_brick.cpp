#include "render/routes/routes_brick.h"

#include "export/brick/brick_march.h"  // the brick floor builds and marches the ball; the renderer only draws it
#include "export/brick/lego_build.h"  // the brick floor builds and marches the ball; the renderer only draws it
#include "frame/settings/tparameters.h"  // the brick sizes, dither and palette are the settings record's
#include "render/rows/column_record.h"
#include "render/vort.h"

bool SetUpBrickView(Globals* globals, const TParameters& p, vort* view) {
  view->legoMode = 1;
  LegoStructure* ball = view->legoBall;
  if (!ball) return false;
  DestroyLegoBall(ball, globals);
  CreateLegoBall(ball, globals, p.brickLayers, p.brickPlates, p.brickDither, p.brickPalette);
  if (!ball->cells) return false;
  BuildLegoball(ball, globals, &view->tumble);
  return true;
}

void Route_BrickSphere(const vort& view, TransformationReply* reply) {
  const double invScale = view.snuggle.invScale;
  const float x = float(2.0 * ((double(reply->outputU) - 0.5) - view.snuggle.centerX) * invScale);
  const float y = float(2.0 * (double(reply->outputV) - 0.5) * invScale * double(view.outputAspect));
  const int32_t right = x > 0.0f ? 1 : 0, below = y > 0.0f ? 1 : 0;
  LegoMarchRequest request;
  request.view = right + 2 * below;
  request.u = 2.0f * (x - (right ? 0.0f : -1.0f)) - 1.0f;
  request.v = 2.0f * (y - (below ? 0.0f : -1.0f)) - 1.0f;
  int32_t region = kBrickNoHit;
  LegoMarch_yielding_region(view.legoBall, &request, &region);
  reply->regionCode = region;
}
