// Surface material effects: a few output and input modes mark surfaces
// whose sampled colour is changed after sampling, before it is composited
// behind the samples of earlier views: the lit marble surface of output
// modes 139 and 143, the seam blend of input mode 26 (zenith and nadir cube
// faces side by side) and the lightened glue strip of the folding sphere
// (output mode 288). Colours are unit colours, not premultiplied; nothing
// clamps them here (a highlight may push a channel above 1).
#pragma once

struct TransformationReply;
struct vort;

// Changes one sample's colour by the effect, if any, of its view and of the
// region of its mapped point.
void ApplyMelFX(float colour[4], const vort& view, const TransformationReply& reply);

// Reads a 201-entry marble table at t: t = 1 (a light straight on) reads
// entry 0, t = -1 entry 200, linearly in between; t is clamped to -1..1.
float Marblize(float t, const float table[201]);

// Share of the light a surface of refractive index 1.58 reflects towards a
// viewer looking down -z, for the unit normal n; 0.3364 for a normal that
// faces away (n.z <= 0).
float GetFresnel(const float normal[3]);

// The environment colour (0..1) seen along a normal whose y component is t:
// the zenith colour at t = 1, the nadir at t = -1.
void get_enviroramp(float t, float rgb[3]);
