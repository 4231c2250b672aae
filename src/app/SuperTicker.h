#pragma once
// The tickers the program's effects run on: one TSuperTimer each, at the highest priority below
// time-critical.
#include "effects/Ticker.h"

TTickerFactory SuperTimerTickers();
