// Symbol visibility for the two shared libraries. Everything is built with
// hidden visibility; only what carries one of these macros is exported.
#pragma once

#define PLATFORM_API __attribute__((visibility("default")))
#define CBASIS1_API __attribute__((visibility("default")))
