// A library named like the analysis library but without its entry point,
// for the test of a library that loads and offers nothing to call.

extern "C" __attribute__((visibility("default"))) int NotTheAnalysisEntry() { return 0; }
