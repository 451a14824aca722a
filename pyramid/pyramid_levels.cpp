#include "pyramid/pyramid_levels.h"

#include <algorithm>

#include "frame/base/task_pool.h"
#include "projection/task_record.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pixels.h"
#include "pyramid/pyramid_reduce.h"
#include "pyramid/pyramid_sampling.h"

namespace {

bool OwnerHasTasks(const PyramidDescriptor* p) {
  if (!p->owner) return false;
  const TaskPoolState pool = TaskPoolStateOf(p->owner);
  return pool.records && pool.recordCount > 0;
}

int32_t StoredComponent(float unit, float full) {
  const float v = unit * full;
  if (!(v > 0.0f)) return 0;
  return v >= full ? int32_t(full) : int32_t(v);
}

// Rows of a level reduced as one item: enough to be worth taking, few
// enough that a level's first build, 1024 rows, makes dozens of them.
constexpr int32_t kLevelBandRows = 16;

void ReduceLevelBand(void* context, int32_t band) {
  const auto* job = static_cast<const MipLevelJob*>(context);
  Rect strip = job->destination;
  strip.top = int16_t(band * kLevelBandRows);
  strip.bottom = int16_t(std::min<int32_t>(job->destination.bottom, (band + 1) * kLevelBandRows));
  UpdateNextSmallerLevel_core(job->mipPyramid, job->mipLevel, &strip);
}

}  // namespace

bool DoStandardTasks(PerTaskStuffType* task, int32_t kind) {
  if (kind != TaskKind_PyramidLevel && kind != TaskKind_PyramidLevelHQ) return false;
  const auto* job = static_cast<const MipLevelJob*>(task->job);
  if (!job) return true;
  if (kind == TaskKind_PyramidLevel)
    UpdateNextSmallerLevel_core(job->mipPyramid, job->mipLevel, &task->strip);
  else
    UpdateNextSmallerLevel_high_quality_core(job->mipPyramid, job->mipLevel, &task->strip);
  return true;
}

void paint_mipmap_of_pyramid(PyramidDescriptor* pyramid) {
  if (!pyramid || !pyramid->tileTable || pyramid->topLevel < 1) return;
  for (int32_t L = 0; L < pyramid->topLevel; ++L) {
    MipLevelJob job{pyramid, L,
                    Rect{0, 0, int16_t(pyramid->levelHeight[L + 1]), int16_t(pyramid->levelWidth[L + 1])}};
    if (OwnerHasTasks(pyramid)) {
      const int32_t rows = job.destination.bottom;
      const int32_t bands = (rows + kLevelBandRows - 1) / kLevelBandRows;
      RunItemsOnTasks(pyramid->owner, bands, ReduceLevelBand, &job);
    } else {
      PerTaskStuffType task{};
      task.kind = TaskKind_PyramidLevel;
      task.strip = job.destination;
      task.job = &job;
      DoStandardTasks(&task, TaskKind_PyramidLevel);
    }
  }
}

void UpdateNextSmallerLevel_high_quality_core(PyramidDescriptor* p, int32_t level, Rect* strip) {
  if (!ClipReductionStrip(p, level, strip)) return;
  const int32_t kind = p->dataKind;
  if (kind != PyramidDataKind_Packed8 && kind != PyramidDataKind_Four16 && kind != PyramidDataKind_FourFloat)
    return;
  const float stepX = p->pixelStepX[level + 1], stepY = p->pixelStepY[level + 1];
  for (int32_t Y = strip->top; Y < strip->bottom; ++Y) {
    for (int32_t X = strip->left; X < strip->right; ++X) {
      float sum[4] = {0, 0, 0, 0};
      for (int j = 0; j < 6; ++j) {
        const float v = (float(Y) - 0.75f + 0.5f * float(j)) * stepY;
        for (int i = 0; i < 6; ++i) {
          const int32_t w = kReductionWeights[j][i];
          if (w == 0) continue;
          const float u = (float(X) - 0.75f + 0.5f * float(i)) * stepX;
          float c[4];
          get_unit_ramped_wrapped_pyramid_sample_point(u, v, p, level, c);
          for (int k = 0; k < 4; ++k) sum[k] += float(w) * c[k];
        }
      }
      float unit[4];
      for (int k = 0; k < 3; ++k) unit[k] = std::clamp(sum[k] * kReductionScaleFloat, 0.0f, 65535.0f);
      unit[3] = std::clamp(sum[3] * kReductionScaleFloat, 0.0f, 1.0f);
      if (kind == PyramidDataKind_FourFloat) {
        set_pyramid_sample_point128bit_floats(X, Y, p, level + 1, unit[0], unit[1], unit[2], unit[3]);
      } else {
        const float full = p->fromUnitScale;
        set_pyramid_sample_pointColor(X, Y, p, level + 1, StoredComponent(unit[0], full),
                                      StoredComponent(unit[1], full), StoredComponent(unit[2], full),
                                      StoredComponent(unit[3], full));
      }
    }
  }
}
