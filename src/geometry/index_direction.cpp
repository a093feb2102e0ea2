// Integer indexing of a reflection: scan scales along the exact index direction, keep the best triple.
#include "geometry/index_direction.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "geometry/nearest_integer.hpp"

namespace orv {

namespace {

// Greatest common divisor of two magnitudes by halving and subtracting (no divisions).
unsigned long long PairDivisor(unsigned long long a, unsigned long long b) {
  if (a == 0) return b;
  if (b == 0) return a;
  const int shift = __builtin_ctzll(a | b);
  a >>= __builtin_ctzll(a);
  do {
    b >>= __builtin_ctzll(b);
    if (a > b) {
      const unsigned long long t = a;
      a = b;
      b = t;
    }
    b -= a;
  } while (b != 0);
  return a << shift;
}

// Two cosines further apart than this are ordered by their arc cosines the same way: arccos falls at
// least as fast as its argument, and the library's error stays far below the margin. Closer ones
// are compared through their arc cosines, as the literal scan does.
constexpr double kCosineMargin = 1e-9;
// Below this best cosine the sequential scan normalises every trial (its squared screen needs
// positive cosines).
constexpr double kLowestScreenedCosine = 0.5;
// The batched scan keeps every trial of a reflection on the stack: enough for the largest
// MaxAllowedMillerIndex the input accepts (NINT(4.14 * 100) = 414 scales).
constexpr int kMaxBatchedTrials = 416;
// Squared lengths of trial vectors outside this range leave the scan to the sequential way, whose
// tests are those of the literal scan (NormalizeVector refuses lengths below 1e-23).
constexpr double kSmallestBatchedSquare = 1e-40;
constexpr double kLargestBatchedSquare = 1e300;
// The rank given to a trial with an entry exactly halfway between two integers.
constexpr double kTieRank = 1e300;
// Basis entries up to this size keep every trial vector (entries below 200) far from overflow.
constexpr double kLargestBatchedEntry = 1e100;

// NormalizeVector, inlined: the same operations in the same order.
inline bool Normalize(const Vec3& x, Vec3& unit) {
  const double norm = std::sqrt(x[0] * x[0] + x[1] * x[1] + x[2] * x[2]);
  if (!(norm >= 1e-23)) return false;
  const double r = 1.0 / norm;
  unit = {x[0] * r, x[1] * r, x[2] * r};
  return true;
}

inline Vec3 TrialVector(const MillerIndices& h, const Mat3& R) {
  Vec3 p;
  for (int j = 0; j < 3; ++j) p[j] = h[0] * R[0][j] + h[1] * R[1][j] + h[2] * R[2][j];
  return p;
}

// The literal scan's decision between a trial and the best one so far, ClampedArcCos(cosine) <
// ClampedArcCos(best), taken on the cosines where they are clearly apart. NaN never wins, the
// first trial wins unless its angle is pi, and nothing beats a best angle of exactly 0 (any cosine
// of 1 or more, which a direction longer than a unit vector can give to several trials).
class BestTrial {
 public:
  bool Offer(double cosine) {
    if (found_ && cosine_ >= 1.0) return false;
    bool better;
    if (!found_) {
      better = cosine > -0.5 || ClampedArcCos(cosine) < kPi;
    } else if (cosine > cosine_ + kCosineMargin) {
      better = true;
    } else if (cosine < cosine_ - kCosineMargin || cosine == cosine_) {
      better = false;
    } else {
      if (!angleKnown_) angle_ = ClampedArcCos(cosine_);
      angleKnown_ = true;
      better = ClampedArcCos(cosine) < angle_;
    }
    if (better) {
      found_ = true;
      cosine_ = cosine;
      angleKnown_ = false;
    }
    return better;
  }
  bool Found() const { return found_; }
  double Cosine() const { return cosine_; }

 private:
  bool found_ = false;
  double cosine_ = 0.0;
  double angle_ = kPi;
  bool angleKnown_ = false;
};

// The result for the chosen trial triple h, first met at `scale`: x from its coprime form.
ScannedDirection Chosen(MillerIndices h, double scale, const Vec3& w, double cosine, int maxAllowedMillerIndex) {
  ScannedDirection result;
  ReduceToCoprime(h);
  const double t = h[0] * w[0] + h[1] * w[1] + h[2] * w[2];
  result.x = {t * w[0], t * w[1], t * w[2]};
  result.cosine = cosine;
  result.scale = static_cast<int>(scale);
  result.withinBound = LargestNint(result.x) <= maxAllowedMillerIndex;
  return result;
}

// Trial after trial, for any input:
// - a trial triple equal to the previous one repeats the angle just compared, never strictly smaller;
// - with u of about unit length, a trial whose squared cosine, taken without normalising, lies
//   clearly below the best one's cannot win, so it is not normalised;
// - once the best cosine reaches 1 (angle exactly 0) no later trial can be strictly better.
ScannedDirection SequentialScan(const Vec3& u, const Mat3& R, const Vec3& w, int lastScale,
                                int maxAllowedMillerIndex) {
  const bool screenable = Dot(u, u) <= 4.0;
  double screenSquared = -1.0;  // (best cosine - margin)^2 once the screen is on, else negative
  BestTrial best;
  MillerIndices chosen{};
  double chosenScale = 0.0;
  MillerIndices previous = {0, 0, 0};
  for (double s = 2.0; s <= lastScale; s += 1.0) {
    const MillerIndices h = {Nint(s * w[0] * kInverseScaleStep), Nint(s * w[1] * kInverseScaleStep),
                             Nint(s * w[2] * kInverseScaleStep)};
    if (h == previous) continue;
    previous = h;
    const Vec3 p = TrialVector(h, R);
    if (screenSquared > 0.0) {
      // cos = (u . p) / |p|: a trial clearly below the best cannot win.
      const double up = Dot(u, p);
      if (!(up > 0.0) || up * up < screenSquared * Dot(p, p)) continue;
    }
    Vec3 q;
    // A zero lattice vector (singular basis) has no direction: the trial cannot improve.
    if (!Normalize(p, q)) continue;
    const double cosine = Dot(u, q);
    if (!best.Offer(cosine)) continue;
    chosen = h;
    chosenScale = s;
    if (cosine >= 1.0) break;
    const double screen = cosine - kCosineMargin;
    if (screenable && screen >= kLowestScreenedCosine) screenSquared = screen * screen;
  }
  if (!best.Found()) return ScannedDirection{};
  return Chosen(chosen, chosenScale, w, best.Cosine(), maxAllowedMillerIndex);
}

// x rounded to the nearest integer, halves to even, for |x| < 2^51: adding and removing 1.5 * 2^52
// leaves no bits below the unit. Sets `tie` to 1 for a value exactly halfway, the only case where
// NINT differs. Free of branches and conversions, so that loops over it run on several values at once.
inline double NearestEven(double x, double& ties) {
  constexpr double kShifter = 6755399441055744.0;
  const double r = (x + kShifter) - kShifter;
  ties = std::fabs(x - r) == 0.5 ? 1.0 : ties;
  return r;
}

// The trial triple at scale s = t + 2, rounded as Nint rounds (|s w_i / 2.3| < 200 here).
struct TrialTriples {
  double w0, w1, w2;
  MillerIndices At(int t) const {
    const double s = static_cast<double>(t + 2);
    return {static_cast<int>(NintOfSmallAsDouble(s * w0 * kInverseScaleStep)),
            static_cast<int>(NintOfSmallAsDouble(s * w1 * kInverseScaleStep)),
            static_cast<int>(NintOfSmallAsDouble(s * w2 * kInverseScaleStep))};
  }
};

// The literal scan keeps the earliest trial of smallest angle; nothing else of the intermediate
// best trials reaches its result. So every trial is first ranked by a cheap signed squared cosine
// (u . p)|u . p| / |p|^2, formed in one loop without branches; only the trials that come within a
// margin of the highest rank, which the winner and every trial of equal angle always do, are then
// normalised and compared in order as the literal scan compares them. Returns false (and leaves
// the scan to SequentialScan) for inputs outside the bounds this reasoning needs: u far from unit
// length, w not finite, a basis with huge or NaN entries, too many scales, or a trial near the top
// whose vector is too short or too long for its rank to be exact enough.
//
// Built twice, the wider vectors of AVX2 chosen where the processor has them: the loops are the
// same operations on the same values in either build (no fused multiply-add, which the build
// forbids, and no reordering of sums), so both give the same bits; the AVX2 build is about a tenth
// faster on a whole run.
__attribute__((target_clones("avx2", "default"))) bool BatchedScan(const Vec3& u, const Mat3& R, const Vec3& w,
                                                                   int lastScale, int maxAllowedMillerIndex,
                                                                   ScannedDirection& result) {
  if (!(Dot(u, u) <= 4.0) || !std::isfinite(w[0]) || !std::isfinite(w[1]) || !std::isfinite(w[2])) return false;
  for (const Vec3& row : R)
    for (const double e : row)
      if (!(std::fabs(e) <= kLargestBatchedEntry)) return false;
  const int trials = lastScale - 1;  // scales 2 .. lastScale
  if (trials > kMaxBatchedTrials) return false;
  const TrialTriples triples{w[0], w[1], w[2]};
  const double u0 = u[0], u1 = u[1], u2 = u[2];
  const double r00 = R[0][0], r01 = R[0][1], r02 = R[0][2];
  const double r10 = R[1][0], r11 = R[1][1], r12 = R[1][2];
  const double r20 = R[2][0], r21 = R[2][1], r22 = R[2][2];
  double rank[kMaxBatchedTrials];
  for (int t = 0; t < trials; ++t) {
    const double s = static_cast<double>(t + 2);
    double tie = 0.0;  // 1 when an entry lies exactly halfway between two integers
    const double h0 = NearestEven(s * triples.w0 * kInverseScaleStep, tie);
    const double h1 = NearestEven(s * triples.w1 * kInverseScaleStep, tie);
    const double h2 = NearestEven(s * triples.w2 * kInverseScaleStep, tie);
    const double p0 = h0 * r00 + h1 * r10 + h2 * r20;
    const double p1 = h0 * r01 + h1 * r11 + h2 * r21;
    const double p2 = h0 * r02 + h1 * r12 + h2 * r22;
    const double up = u0 * p0 + u1 * p1 + u2 * p2;
    // The tiny term keeps a zero vector's rank finite (0) and changes no square above 1e-280.
    // A tie lifts the rank far above every true one (at most 4), which sends the scan below to
    // SequentialScan: only there does rounding to even differ from NINT's rounding away from zero.
    rank[t] = up * std::fabs(up) / (p0 * p0 + p1 * p1 + p2 * p2 + 1e-300) + tie * kTieRank;
  }
  // The highest rank, in four independent chains.
  double top[4] = {-kLargestBatchedSquare, -kLargestBatchedSquare, -kLargestBatchedSquare, -kLargestBatchedSquare};
  int t = 0;
  for (; t + 4 <= trials; t += 4)
    for (int c = 0; c < 4; ++c) top[c] = rank[t + c] > top[c] ? rank[t + c] : top[c];
  for (; t < trials; ++t) top[0] = rank[t] > top[0] ? rank[t] : top[0];
  const double highest = std::max(std::max(top[0], top[1]), std::max(top[2], top[3]));
  if (highest >= kTieRank) return false;
  // Every trial of cosine 1 or more has the angle 0, the smallest there is; the first of them wins.
  const double cut = std::min(highest, 1.0) - kCosineMargin;

  BestTrial best;
  int chosen = -1;
  MillerIndices chosenTriple{};
  for (t = 0; t < trials; ++t) {
    if (!(rank[t] >= cut)) continue;
    const MillerIndices h = triples.At(t);
    // A repeat of the previous trial (which had the very same rank) has the angle just compared,
    // never strictly smaller.
    if (t > 0 && rank[t] == rank[t - 1] && h == triples.At(t - 1)) continue;
    const Vec3 p = TrialVector(h, R);
    const double square = Dot(p, p);
    if (!(square >= kSmallestBatchedSquare && square <= kLargestBatchedSquare)) return false;
    Vec3 q;
    if (!Normalize(p, q)) return false;
    if (best.Offer(Dot(u, q))) {
      chosen = t;
      chosenTriple = h;
    }
  }
  if (chosen < 0) {
    result = ScannedDirection{};
    return true;
  }
  result = Chosen(chosenTriple, static_cast<double>(chosen + 2), w, best.Cosine(), maxAllowedMillerIndex);
  return true;
}

}  // namespace

// Bit for bit the result of the literal scan (the same trials with the same arithmetic; see
// BatchedScan and SequentialScan for the work they leave out and why that changes nothing).
ScannedDirection ScanIndexDirection(const Vec3& u, const Mat3& R, const Mat3& D, int maxAllowedMillerIndex) {
  const int lastScale = Nint(4.14 * maxAllowedMillerIndex);
  // The real-valued Miller indices of u, up to an unknown positive factor.
  const Vec3 v = {Dot(D[0], u), Dot(D[1], u), Dot(D[2], u)};
  Vec3 w;
  if (!Normalize(v, w)) return ScannedDirection{};
  ScannedDirection result;
  if (BatchedScan(u, R, w, lastScale, maxAllowedMillerIndex, result)) return result;
  return SequentialScan(u, R, w, lastScale, maxAllowedMillerIndex);
}

IndexedDirection IndexDirection(const Vec3& u, const Mat3& R, const Mat3& D, int maxAllowedMillerIndex) {
  const ScannedDirection scanned = ScanIndexDirection(u, R, D, maxAllowedMillerIndex);
  IndexedDirection result;
  if (scanned.scale == 0) return result;
  result.x = scanned.x;
  result.theta = ClampedArcCos(scanned.cosine);
  result.withinBound = scanned.withinBound;
  result.scale = scanned.scale;
  return result;
}

bool AngleWithin(double cosine, double limit, double cosineOfLimit) {
  if (cosine > cosineOfLimit + kCosineMargin) return true;
  if (cosine < cosineOfLimit - kCosineMargin) return false;
  return ClampedArcCos(cosine) <= limit;
}

long long LargestNint(const Vec3& x) {
  // In long long so that a saturated NINT cannot overflow abs().
  long long largest = 0;
  for (double xi : x) {
    const long long magnitude = std::llabs(static_cast<long long>(Nint(xi)));
    if (magnitude > largest) largest = magnitude;
  }
  return largest;
}

long long GreatestCommonDivisor(long long a, long long b, long long c) {
  // Negated in unsigned arithmetic, which is defined for the most negative value as well.
  const auto magnitude = [](long long v) {
    const unsigned long long u = static_cast<unsigned long long>(v);
    return v < 0 ? 0ULL - u : u;
  };
  return static_cast<long long>(PairDivisor(PairDivisor(magnitude(a), magnitude(b)), magnitude(c)));
}

// Division by the greatest common divisor, which is what repeated trial division by the smallest
// common factor arrives at; worked in long long so that INT_MIN entries cannot overflow.
void ReduceToCoprime(MillerIndices& h) {
  // The usual case: an entry of magnitude 1 leaves nothing to divide.
  if (h[0] == 1 || h[0] == -1 || h[1] == 1 || h[1] == -1 || h[2] == 1 || h[2] == -1) return;
  const long long h0 = h[0], h1 = h[1], h2 = h[2];
  const long long g = GreatestCommonDivisor(h0, h1, h2);
  if (g <= 1) return;
  h = {static_cast<int>(h0 / g), static_cast<int>(h1 / g), static_cast<int>(h2 / g)};
}

// Exact in integers: a quotient that is not whole lies at least 1/|d| >= 4.6e-10 from every
// integer, so the floating-point test with its 1e-10 margin gives the same answers.
bool IsDivisible(int a, int d) {
  if (d == 0) return false;
  return static_cast<long long>(a) % static_cast<long long>(d) == 0;
}

}  // namespace orv
