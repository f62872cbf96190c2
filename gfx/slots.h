// slots.h -- the slot numbers that the driver, the scene kit and the scenes
// agree on. Texture slots count from a texture base of 0 (a scene adds its
// own base); render targets and program slots are absolute.
#pragma once

// ---- the texture table, made by the driver at start-up ----------------------------
constexpr int ColourASlot = 0;   // W x H: made as noise; render target 0's colour 0 (the frame)
constexpr int ColourBSlot = 11;  // W x H: made as noise; render target 0's colour 1
constexpr int DepthSlot = 26;    // W x H depth: render target 0's depth
constexpr int RandomSlot = 27;   // 1024 x 1024 reproducible noise ("texture2d_random")
constexpr int SmoothSlot = 28;   // W/4 x H/4: made as noise; render target 2's colour 0
// The start scene's first title image; later scenes sample it as "Swirl_Texture".
constexpr int FirstTitleSlot = 30;
// 4096 texels of floats, made by the first scene that loads with one; later
// ones only read it (absolute: no base is added).
constexpr int FloatTexture1DSlot = 1001;

// ---- render targets, made by the driver before the loading screen -----------------
constexpr int FrameTarget = 0;    // W x H, the scene's two colours and depth
constexpr int AuxTarget = 1;      // W x H multisampled, or the settings' auxiliary size
constexpr int QuarterTarget = 2;  // W/4 x H/4, the smoothing pass
constexpr int PortraitTarget = 3; // 360 x 640, single-sampled

// ---- program slots of a scene's shader set that the kit draws with ----------------
constexpr int SpareProgram = 199;
constexpr int ParticleProgram = 200;
constexpr int BackgroundProgram = 201;
constexpr int SsaoProgram = 202;
constexpr int SmoothProgram = 203;
constexpr int BlurProgram = 204;
