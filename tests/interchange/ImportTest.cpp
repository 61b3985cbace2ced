#include "interchange/Interchange.h"
#include <gtest/gtest.h>
