#include "render/rows/column_record.h"

void ResetTransformationReply(TransformationReply* reply) {
  *reply = TransformationReply{};
  reply->regionCode = kRegionNothing;
  reply->inputU = reply->inputV = -1.0f;
  reply->gridU = reply->gridV = -1.0f;
  reply->sheetCell = -1;
  reply->tissotField = 1.0f;
  reply->spotField = 1.0f;
  reply->faceRegion = -1;
  reply->normal[2] = 1.0f;
  reply->inputFace = -1;
  reply->glueMark = -1;
}

void ResetColumnRecords(ColumnRecord* records, int32_t count) {
  if (!records) return;
  for (int32_t i = 0; i < count; ++i) {
    ColumnRecord& r = records[i];
    r = ColumnRecord{};
    ResetTransformationReply(&r.reply[0]);
    ResetTransformationReply(&r.reply[1]);
  }
}
