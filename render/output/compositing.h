// The two ways the renderer lays one unit colour (not premultiplied) over
// another.
#pragma once

// b becomes a over b. Nothing happens when a's alpha is 0 or less.
void CompositeAoverB(const float a[4], float b[4]);
// b's colour becomes a over b as if b were opaque; b's alpha is kept.
void CompositeAoverOpaquePortionOfB(const float a[4], float b[4]);
