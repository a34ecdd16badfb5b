// The cast and the scenery: bugs, flowers, clouds and the like, drawn with cairo paths so that
// every picture of the game shares one friendly style.
#pragma once

#include <cairo.h>

#include <string>

#include "drawing/canvas.h"

namespace tolvaro::assetgen {

// A ladybug seen from the side, walking towards +x. (cx, cy) is the middle of the shell's base;
// `length` is the whole bug from tail to nose.
struct LadybugLook {
  Colour shell = rgb(236, 44, 52);
  Colour dark = rgb(44, 30, 64);  // head, spots, legs (never pure black: some pictures key black)
  double legPhase = 0;            // radians; swings the legs
  double antennaPhase = 0;
  bool happy = true;
};
void drawLadybug(cairo_t* cr, double cx, double cy, double length, const LadybugLook& look);

// A caterpillar walking towards +x, its feet on `groundY`, tail at `tailX`. `wavePhase` in
// radians moves the hump that travels from tail to head. Segments may carry letters.
struct CaterpillarLook {
  int segments = 5;
  double segmentRadius = 11;
  Colour body = rgb(110, 205, 70);
  Colour bodyAlt = rgb(160, 225, 60);
  Colour head = rgb(120, 215, 80);
  std::string letters;  // one ASCII letter per segment, tail first; empty for none
  double wavePhase = 0;
  double humpHeight = 7;
  double blink = 0;  // 0 open .. 1 closed
};
// Returns the x of the nose.
double drawCaterpillar(cairo_t* cr, double tailX, double groundY, const CaterpillarLook& look);

void drawBee(cairo_t* cr, double cx, double cy, double size, double wingPhase = 0);
void drawButterfly(cairo_t* cr, double cx, double cy, double size, const Colour& wing,
                   double flap = 0);
void drawFlower(cairo_t* cr, double cx, double cy, double size, const Colour& petals,
                const Colour& centre, int petalCount = 6);
void drawCloud(cairo_t* cr, double cx, double cy, double width, const Colour& colour);
void drawMushroom(cairo_t* cr, double cx, double groundY, double size, const Colour& cap);
void drawGrassTuft(cairo_t* cr, double cx, double groundY, double height, const Colour& colour);
// A round bubble carrying a letter, like the ones the game's bugs wear.
void drawLetterBubble(cairo_t* cr, double cx, double cy, double radius, const std::string& letter,
                      const Colour& colour);
void drawFirefly(cairo_t* cr, double cx, double cy, double size, const Colour& glow);

}  // namespace tolvaro::assetgen
