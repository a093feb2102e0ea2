// Orvanthel: ab initio indexing of Laue diffraction patterns. The one header to include.
//
//   #include <orvanthel/orvanthel.hpp>
//   orvanthel::Pattern pattern = orvanthel::PatternFromScatteringAngles(twoTheta, chi);
//   orvanthel::IndexingOptions options;
//   options.volumeOfPrimitiveCell = 45.27;
//   orvanthel::IndexingResult result = orvanthel::Index(pattern, options);
//   // result.solutions[0].bravaisType == "cF", result.solutions[0].conventionalCell.a == 5.657...
#pragma once

#include "orvanthel/error.hpp"
#include "orvanthel/index.hpp"
#include "orvanthel/observer.hpp"
#include "orvanthel/options.hpp"
#include "orvanthel/pattern.hpp"
#include "orvanthel/result.hpp"
#include "orvanthel/simulation.hpp"
