#include "settings/SettingsVariables.h"

// The built-in defaults: the values the variables hold when the program starts,
// before the settings file is read.

double GeoNodeLineWidth = 0.003;
Colour GeoNodeColour = Rgb(0, 128, 0);
double GeoNodeSize = 0.005;
double GeoNodeTextSize = 0.018;
double GeoNodeTextDistance = 0.004;

double GeoBeamLineWidth = 0.002;
double GeoBeamLoadScale = 0.1;
Colour GeoBeamColour = Rgb(128, 128, 128);
double GeoBeamTextSize = 0.018;
double GeoBeamTextDistance = 0.008;
Colour GeoBeamTextColour = Rgb(0, 0, 0);
double GeoMaterialTextSize = 0.018;
Colour GeoMaterialTextColour = Rgb(0, 0, 0);

double GeoSupportSize = 0.07;
double GeoSupportLineWidth = 0.0035;
Colour GeoSupportColour = Rgb(0, 128, 0);
double GeoSupportArrowheadSize = 0.03;

Colour GeoHingeColour = Rgb(0, 0, 0);
double GeoHingeSize = 0.015;
double GeoHingeLineWidth = 0.0015;
double GeoHingeTextDistance = 0.007;
double GeoHingeTextSize = 0.018;

double GeoAxesLineWidth = 0.004;
double GeoAxesSize = 0.15;
double GeoAxesArrowheadSize = 0.02;
Colour GeoAxesColour = Rgb(255, 0, 255);
double GeoAxesTextSize = 0.02;
Colour GeoSpringColour = Rgb(0, 128, 128);
double GeoSpringSize = 0.05;
double GeoSpringLineWidth = 0.002;

Colour LoadNodeColour = Rgb(0, 0, 255);
double LoadNodeArrowheadSize = 0.02;
double LoadNodeLineWidth = 0.003;
double LoadNodeMomentArrowheadSize = 0.05;
double LoadNodeTextSize = 0.02;

Colour LoadDistributedColour = Rgb(0, 0, 255);
double LoadDistributedLineWidth = 0.0007;

double LoadPointArrowheadSize = 0.02;
double LoadPointMomentArrowheadSize = 0.05;
double LoadPointLineWidth = 0.0015;
Colour LoadPointColour = Rgb(0, 0, 255);

double LoadTempDistance = 0.01;
double LoadTempLineWidth = 0.005;
double LoadTempTextDistance = 0.02;
double LoadTempTextSize = 0.02;
double LoadTempColour = 0;

double LoadHingeArrowheadSize = 0.1;
double LoadHingeLineWidth = 0.003;

Colour LoadZwvColour = Rgb(255, 0, 0);

double LoadDistance = 0.02;

Colour ResReactionColour = Rgb(0, 0, 0);
double ResReactionArrowheadSize = 0.02;
double ResReactionLineWidth = 0.004;
double ResReactionMomentArrowheadSize = 0.05;
double ResReactionTextSize = 0.02;

double ResDeflectionLineWidth = 0.001;
Colour ResDeflectionLineColour = Rgb(255, 0, 0);
Colour ResDeflectionTextColour = Rgb(0, 0, 0);
double ResDeflectionTextDistance = 0.002;
double ResDeflectionTextSize = 0.01;
double ResDeflectionNodeSize = 0.004;
double ResDeflectionNodeLineWidth = 0.001;
double ResDeflectionScale = 0.2;

double ResFunctionTextSize = 0.01;
double ResFunctionTextDistance = 0.001;
double ResFunctionArrowheadSize = 0.02;
double ResFunctionScale = 0.16;
double ResFunctionLineWidth = 0.001;

std::string EditorProgram = kBundledViewerName;
double MarginLeft = 5;
double MarginRight = 5;
double MarginTop = 5;
double MarginBottom = 5;
