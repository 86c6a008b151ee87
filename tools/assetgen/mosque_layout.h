#pragma once
// Where things stand in the domed hall, shared by the hall's scene and the
// light shafts that are drawn through its camera: the shafts must start at
// the windows and the ceiling opening and end on the floor.

#include "math/vector3.h"

namespace assetgen::hall {

constexpr float kHalf = 12.0f;        // the floor runs from -12 to 12 on X and Z
constexpr float kWallHeight = 9.0f;   // the flat ceiling
constexpr float kWallThickness = 0.6f;
constexpr float kWindowZ[3] = {-6.0f, 0.0f, 6.0f};  // windows on both side walls (x = -12 and 12)
constexpr float kWindowHalfWidth = 0.7f;
constexpr float kWindowBottom = 5.4f, kWindowTop = 7.6f;
constexpr float kColumnX = 5.0f;      // the two arcades
constexpr float kColumnZ[4] = {-9.0f, -3.0f, 3.0f, 9.0f};
constexpr float kColumnRadius = 0.45f;
constexpr float kArchSpring = 5.2f;   // where the arches leave the columns
constexpr float kDomeRadius = 4.2f;   // centred on (0, kWallHeight, 0)
constexpr float kOculusRadius = 0.75f;

// Sunlight through the left windows travels along this direction per unit
// of height lost (the right windows mirror it on X); it reaches the floor
// between the wall and the arcade.
constexpr float kSunSlopeX = 0.42f, kSunSlopeZ = 0.1f;
// Through the oculus: two beams leaning either way.
constexpr float kSkySlopeX = 0.2f, kSkySlopeZ = 0.06f;

// Shafts end just above the floor so their far faces are never hidden by it.
constexpr float kShaftFloor = 0.02f;

} // namespace assetgen::hall
