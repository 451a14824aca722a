#include "proj_oracle.h"

#include <cmath>

void DirectionFromLonLat(double lon, double lat, double p[3]) {
  p[0] = std::sin(lon) * std::cos(lat);
  p[1] = std::sin(lat);
  p[2] = std::cos(lon) * std::cos(lat);
}

void LonLatFromDirection(const double p[3], double* lon, double* lat) {
  *lon = std::atan2(p[0], p[2]);
  *lat = std::atan2(p[1], std::hypot(p[0], p[2]));
}

fcomplex OurPlaneFromProj(double x, double y, double k) { return {-k * x, -k * y}; }

void ProjPlaneFromOurs(fcomplex z, double k, double* x, double* y) {
  *x = -z.re / k;
  *y = -z.im / k;
}

void InputPointFromProj(double x, double y, const InputPictureFrame& frame, double* u, double* v) {
  *u = frame.uAtOrigin - x / frame.across;
  *v = frame.vAtOrigin - y / frame.down;
}

ProjOracle::ProjOracle(const char* definition) : ctx_(proj_context_create()), pj_(nullptr) {
  // Keep PROJ quiet about the points it refuses; the callers test the result.
  proj_log_level(ctx_, PJ_LOG_NONE);
  pj_ = proj_create(ctx_, definition);
}

ProjOracle::~ProjOracle() {
  if (pj_ != nullptr) proj_destroy(pj_);
  proj_context_destroy(ctx_);
}

bool ProjOracle::Forward(double lon, double lat, double* x, double* y) const {
  proj_errno_reset(pj_);
  const PJ_COORD out = proj_trans(pj_, PJ_FWD, proj_coord(lon, lat, 0.0, 0.0));
  if (proj_errno(pj_) != 0 || !std::isfinite(out.xy.x) || !std::isfinite(out.xy.y)) return false;
  *x = out.xy.x;
  *y = out.xy.y;
  return true;
}

bool ProjOracle::Inverse(double x, double y, double* lon, double* lat) const {
  proj_errno_reset(pj_);
  const PJ_COORD out = proj_trans(pj_, PJ_INV, proj_coord(x, y, 0.0, 0.0));
  if (proj_errno(pj_) != 0 || !std::isfinite(out.lp.lam) || !std::isfinite(out.lp.phi)) return false;
  *lon = out.lp.lam;
  *lat = out.lp.phi;
  return true;
}
