#pragma once
// The shared routines in one include: text conversion, dates, text helpers, files and paths.
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/file_utils.h"
#include "platform/program_dir.h"
#include "platform/text_codec.h"
#include "platform/text_utils.h"
