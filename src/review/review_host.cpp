#include "review/review_host.h"

IReviewHost::~IReviewHost() = default;
