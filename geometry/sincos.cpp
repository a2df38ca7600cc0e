// Sine and cosine with a short argument reduction and a kernel that carries
// the reduced angle's tail to the final rounding.
//
// Notation:
//   k        the nearest whole number of quarter turns in x
//   r, lo    the reduced angle x - k pi/2 as a rounded value and its tail;
//            |r| <= pi/4 up to rounding, |lo| <= half an ulp of r
//   P1..P4   pi/2 split so that k P1, k P2 and k P3 are exact for |k| < 2^29:
//            P1..P3 carry 32 significant bits each, P4 the next 64
//   a, t     |r| and the tail lo with the sign of r taken out
//   h        the table angle i/128 nearest to a (i = 1..101)
//   L        the rest a - h + t, |L| <= 1/256
//   lHi      a - h rounded to a multiple of 2^-39: at most 32 significant bits
//   SH, CH   sin h and cos h rounded to 32 significant bits; SL, CL the rest
//   sd, cm1  sin L - L and cos L - 1 (Taylor series, |L| <= 2^-8)
//
// Why the table: sin(h + L) = SH + CH lHi + (small terms), and because SH,
// CH and lHi have 32 bits each, CH lHi is exact in the 64-bit mantissa and
// SH + CH lHi is split exactly into a rounded sum and its error. Every term
// that is rounded before the last addition is then below 2^-17 of the
// result, so the result is rounded once from a value good to about 2^-80
// relative: it is the correctly rounded one except in a few arguments per
// million (the library's kernel rounds a term of up to 3 % of the result
// first; over a few turns its sine or cosine misses in about 5 % of the
// arguments). The same holds for the cosine with the roles of the table
// columns exchanged.
//
// The library's sincosl hands every argument beyond pi/4 to a general
// multi-precision reduction, which costs more than the sine and cosine
// themselves. The subtractions below are exact (Sterbenz) or round only at
// the size of r, and the parts leave a residue below 3e-51, so r + lo is as
// good as the library's own reduction for the angles the program uses.
//
// Measured against 113-bit values (tests/geometry/sincos_test.cpp): the
// largest errors found are 0.50005 units in the last place over 64 turns,
// and 0.50015 within 1/256 of +-pi/2 and +-pi, where the short tail of the
// reduction below 5 pi/4 is left out of the short series (up to 0.00016
// units; kept so that no stored position changes).
#include "geometry/sincos.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "geometry/numeric.h"

namespace navorix {
namespace {

constexpr long double P1 = 0x1.921fb544p0L;
constexpr long double P2 = 0x1.0b4611a6p-34L;
constexpr long double P3 = 0x1.3198a2ep-69L;
constexpr long double P4 = 0x1.b839a252049c1114p-104L;
constexpr long double TwoOverPi = 0.636619772367581343075535053490057448L;
constexpr long double ShortReductionLimit = 64.0L * TwoPi;
// Up to this many quarter turns (|x| < 5 pi/4) the reduction's tail is short.
constexpr long double ShortTailQuarters = 2.0L;
// Adding 1.5 2^63 rounds to a whole number whose low mantissa bits are the
// number itself (two's complement for negative ones); adding 1.5 2^24 rounds
// a value below 2^23 to a multiple of 2^-39.
constexpr long double RoundingShift = 0x1.8p63L;
constexpr long double SplitShift = 0x1.8p24L;

constexpr long double TableStep = 128.0L;    // table angles i / 128
constexpr long double TableStart = 0x1p-8L;  // below it no table entry is needed

// Taylor coefficients of sin L - L = L^3 (S3 + L^2 (S5 + L^2 S7)) and
// cos L - 1 = L^2 (C2 + L^2 (C4 + L^2 (C6 + L^2 C8))); for |L| <= 2^-8 the
// first terms left out are below 2^-90 and 2^-100.
constexpr long double S3 = -1.0L / 6.0L;
constexpr long double S5 = 1.0L / 120.0L;
constexpr long double S7 = -1.0L / 5040.0L;
constexpr long double C2 = -0.5L;
constexpr long double C4 = 1.0L / 24.0L;
constexpr long double C6 = -1.0L / 720.0L;
constexpr long double C8 = 1.0L / 40320.0L;

struct TableEntry {
  long double sh, sl, ch, cl;
};

// sin(i/128) and cos(i/128) for i = 1..101 (up to just beyond pi/4), each as
// a 32-bit head and a 64-bit rest, from 113-bit values.
constexpr TableEntry Table[] = {
    {0xf.fff5555p-11L, 0xe.eeee86e8744e612p-44L, 0xf.ffe0001p-4L, -0xa.aaad82d7f97f9a5p-37L},  // 1/128
    {0xf.ffd5557p-10L, 0xe.eed4ed549c6561p-43L, 0xf.ff8000bp-4L, -0xa.ab60b5d75d7f168p-37L},   // 2/128
    {0xb.ffb8008p-9L, 0xc.c9541efe2b51527p-44L, 0xf.fee0036p-4L, -0x8.199464945e5a211p-45L},   // 3/128
    {0xf.ff55577p-9L, 0xe.e86e8cafe41376dp-42L, 0xf.fe000abp-4L, -0xa.d82d4ed5124b627p-37L},   // 4/128
    {0x9.ff59589p-8L, 0xd.45d529d8a8407a4p-41L, 0xf.fce01a1p-4L, -0xb.5845e66e0b4193ap-37L},   // 5/128
    {0xb.fee0082p-8L, -0xd.04575666f7d1ba6p-41L, 0xf.fb8036p-4L, -0x8.1984c59dab03247p-39L},   // 6/128
    {0xd.fe36bc3p-8L, -0xf.24a7e71b02fc241p-42L, 0xf.f9e0641p-4L, -0xf.c5ced6f5248447ep-37L},  // 7/128
    {0xf.fd55777p-8L, 0xd.4edab4ba4b365edp-41L, 0xf.f800aaap-4L, 0x9.f4d34ca0e1ee651p-37L},    // 8/128
    {0x8.fe1a1ecp-7L, 0x8.bee830b34643107p-44L, 0xf.f5e1115p-4L, 0x8.ef9f0bc9a49a7aap-37L},    // 9/128
    {0x9.fd65897p-7L, -0xe.8aa56486454a652p-40L, 0xf.f381a09p-4L, 0x9.ef6ee340bcc8369p-37L},   // 10/128
    {0xa.fc88fe9p-7L, -0xf.48c940613c0afa4p-40L, 0xf.f0e261ep-4L, 0x8.73eafd4ac6df507p-37L},   // 11/128
    {0xb.fb80819p-7L, 0xa.a1c835f85a3000ap-41L, 0xf.ee035fcp-4L, -0xc.a3259cdfa95940ep-40L},   // 12/128
    {0xc.fa4816bp-7L, -0xa.2e06b65a4a054f9p-40L, 0xf.eae4a5ap-4L, 0xf.7fffb4625cd2c1bp-39L},   // 13/128
    {0xd.f8dbc2bp-7L, 0x8.391d7a461077a93p-40L, 0xf.e7864p-4L, 0xe.99b11ea3d786d18p-37L},      // 14/128
    {0xe.f7378b6p-7L, 0xe.672eaf071d048eap-43L, 0xf.e3e83c7p-4L, -0xe.4377be28b6ee092p-37L},   // 15/128
    {0xf.f557774p-7L, 0xd.dc6b940d350ce44p-41L, 0xf.e00aa94p-4L, -0xa.90b24970caf6b1p-39L},    // 16/128
    {0x8.799bc6fp-6L, -0xa.38ba27b978db0fp-41L, 0xf.dbed96p-4L, -0xf.cb55bc4a416134bp-40L},    // 17/128
    {0x8.f869ebdp-6L, 0xf.ceaea441abd9a26p-39L, 0xf.d791132p-4L, -0xe.d0b42a559c26745p-39L},   // 18/128
    {0x9.77142f2p-6L, 0xa.b88e86cbc3e8848p-39L, 0xf.d2f5321p-4L, -0xf.2437efb25912e83p-39L},   // 19/128
    {0x9.f598963p-6L, -0xa.64d2b8299949934p-41L, 0xf.ce1a054p-4L, -0xc.ef5e3a494f9c48cp-39L},  // 20/128
    {0xa.73f526ep-6L, 0xb.e4f665276cab01dp-40L, 0xf.c8ffa02p-4L, -0x8.b2ff17d03f4d3aap-37L},   // 21/128
    {0xa.f227e7dp-6L, 0x9.379521779f380edp-42L, 0xf.c3a6171p-4L, -0x8.98538ca29c26656p-40L},   // 22/128
    {0xb.702ee03p-6L, -0xb.6568004cb1722ep-40L, 0xf.be0d7f8p-4L, -0x8.770c7aade23aa06p-43L},   // 23/128
    {0xb.ee0817ep-6L, -0xa.1a95d4a95e3b86dp-40L, 0xf.b835efdp-4L, -0x9.8f22d3190186db9p-40L},  // 24/128
    {0xc.6bb1978p-6L, -0xa.ad78907d13165ddp-40L, 0xf.b21f7f6p-4L, -0xf.aa65a53fd4f8076p-38L},  // 25/128
    {0xc.e929686p-6L, 0xe.c31233887b01622p-39L, 0xf.abca468p-4L, -0x9.868e1c5f2c1fc4ep-41L},   // 26/128
    {0xd.666d94cp-6L, -0xb.f1366620ed5f5b3p-40L, 0xf.a5365e9p-4L, -0xe.2c35d841e24a289p-40L},  // 27/128
    {0xd.e37c277p-6L, -0xe.799a63e5a9584f3p-41L, 0xf.9e63e1ep-4L, -0xc.2e92121a3ad28a3p-37L},  // 28/128
    {0xe.60532c4p-6L, 0xa.268a7972f643784p-41L, 0xf.9752ebbp-4L, -0xc.00128cef7a82a4bp-37L},   // 29/128
    {0xe.dcf0afep-6L, -0xa.5a304cb8835b31cp-39L, 0xf.9003984p-4L, 0xc.c93e6e50105b066p-38L},   // 30/128
    {0xf.5952bfcp-6L, 0xa.e5a2bd07e542a35p-39L, 0xf.887604ep-4L, 0xb.0e76ec8393b1609p-38L},    // 31/128
    {0xf.d5776a8p-6L, -0xc.ea894576214238dp-39L, 0xf.80aa4fcp-4L, -0x8.457a2c3e1661a35p-39L},  // 32/128
    {0x8.28ae5fbp-5L, 0xa.2ab73239eb10139p-39L, 0xf.78a098p-4L, 0xd.2f25b55793dc84bp-37L},     // 33/128
    {0x8.6680678p-5L, -0xc.9bca67ec28324f9p-38L, 0xf.7058fdep-4L, 0xf.11bf900b71fd10fp-41L},   // 34/128
    {0x8.a430d55p-5L, -0xb.221537d1036b6c3p-38L, 0xf.67d3a27p-4L, -0xa.105f0ab685257aap-37L},  // 35/128
    {0x8.e1beb26p-5L, 0xd.70eca303b7f06e8p-39L, 0xf.5f10a7cp-4L, -0x9.105840be7c4ae95p-37L},   // 36/128
    {0x9.1f29089p-5L, -0xa.a194a784019a78p-39L, 0xf.561030ep-4L, -0x8.a161da7c5582d73p-38L},   // 37/128
    {0x9.5c6ee22p-5L, -0xa.5b06eaac7660d28p-41L, 0xf.4cd261dp-4L, 0xf.9b056ecda721d62p-38L},   // 38/128
    {0x9.998f4ap-5L, 0x9.3f0ef065b5a0618p-39L, 0xf.43575f9p-4L, 0x9.a9ed64e5ebf6ed6p-37L},     // 39/128
    {0x9.d6894bbp-5L, 0x9.d3d80081eaa8244p-38L, 0xf.399f501p-4L, -0xd.8580b21459aa367p-38L},   // 40/128
    {0xa.135bf35p-5L, -0x8.cb4be138eae0b8bp-41L, 0xf.2faa5a2p-4L, -0x9.162fa053c0bf40ep-37L},  // 41/128
    {0xa.50064d8p-5L, 0xf.3d20608ee9aec24p-38L, 0xf.2578a59p-4L, 0xa.449ba5cd7f45d66p-37L},    // 42/128
    {0xa.8c8767bp-5L, 0x8.a77a6cd5c557bbcp-38L, 0xf.1b0a5b4p-4L, 0xd.6a4db10d8abfd5cp-41L},    // 43/128
    {0xa.c8de4fdp-5L, 0xb.d65cbe3a5d61ffp-40L, 0xf.105fa4dp-4L, 0xc.d6c0f4cfa89c085p-37L},     // 44/128
    {0xb.050a148p-5L, 0xf.0eea363fb017512p-39L, 0xf.0578adp-4L, 0xf.6f383fd1ce04ee3p-39L},     // 45/128
    {0xb.4109c52p-5L, -0xe.5012ec449012225p-39L, 0xe.fa559f6p-4L, -0x9.e289e2d8a7e6737p-39L},  // 46/128
    {0xb.7cdc71ap-5L, -0xb.fb555ea1f588b13p-39L, 0xe.eef6a88p-4L, -0xd.d72a1e80c8d42bap-37L},  // 47/128
    {0xb.b8812acp-5L, -0x9.bdec2dd5ae62977p-38L, 0xe.e35bf5dp-4L, -0xd.4ddbeb4c9b88923p-38L},  // 48/128
    {0xb.f3f701ep-5L, 0x8.6d4d92710c95029p-38L, 0xe.d785b5cp-4L, 0x8.8e83689278ad797p-37L},    // 49/128
    {0xc.2f3d094p-5L, 0x9.a5258a40e9b5fadp-40L, 0xe.cb7417cp-4L, -0xe.5623802790a8b7fp-37L},   // 50/128
    {0xc.6a5253cp-5L, -0xb.66d0aed7f456267p-38L, 0xe.bf274bfp-4L, 0xb.da4f62447e56a09p-40L},   // 51/128
    {0xc.a535f5p-5L, -0xa.b93b5a7384f9a1p-38L, 0xe.b29f83ap-4L, -0xd.fe02ec46c8697d8p-40L},    // 52/128
    {0xc.dfe7017p-5L, 0x8.05104278e68c82cp-38L, 0xe.a5dcf0ep-4L, 0xc.33c0f9a5dbbc2c8p-38L},    // 53/128
    {0xd.1a648e6p-5L, 0xa.1993cb9de3895e6p-39L, 0xe.98dfc6cp-4L, 0xd.7c063cc1ba61139p-37L},    // 54/128
    {0xd.54adb1dp-5L, 0x9.276d3ad829d87f9p-42L, 0xe.8ba8394p-4L, -0x9.ac3ef2ad4e13e5bp-39L},   // 55/128
    {0xd.8ec182ap-5L, -0xd.e9e96b890b2e67dp-38L, 0xe.7e367d3p-4L, -0xd.52609d292abdc35p-37L},  // 56/128
    {0xd.c89f187p-5L, -0x8.a77af1c5697b62p-39L, 0xe.708ac85p-4L, -0xa.fa3570763226778p-38L},   // 57/128
    {0xe.02458bep-5L, -0xe.bf5cdcc0331502cp-38L, 0xe.62a5516p-4L, -0xd.68d1eb11e9d457cp-37L},  // 58/128
    {0xe.3bb3f64p-5L, -0xb.9887ac53468f561p-44L, 0xe.54864fep-4L, 0xc.fa15d72afd6f439p-38L},   // 59/128
    {0xe.74e971fp-5L, -0xb.5ae125f91425b5cp-38L, 0xe.462dfc6p-4L, 0xe.1a843567a342b2p-37L},    // 60/128
    {0xe.ade51ap-5L, 0x8.ecc29452253afe1p-39L, 0xe.379c904p-4L, 0xb.e53aa2f89011549p-37L},     // 61/128
    {0xe.e6a60aap-5L, -0xd.6365bcace47a381p-38L, 0xe.28d245cp-4L, 0xb.175dee444bc4655p-37L},   // 62/128
    {0xf.1f2b60bp-5L, -0xf.ab2e2149042133fp-39L, 0xe.19cf581p-4L, -0x8.89fdcaaf5ee82c6p-39L},  // 63/128
    {0xf.57743a2p-5L, 0xb.05efe8764bc365p-38L, 0xe.0a94033p-4L, -0x9.0560c4908898974p-38L},    // 64/128
    {0xf.8f7fb5ep-5L, 0x9.f2f68b9097c53a9p-39L, 0xd.fb20841p-4L, -0xc.564c90851d3aeadp-40L},   // 65/128
    {0xf.c74cf3bp-5L, 0xa.bc9719d950af2dp-38L, 0xd.eb75188p-4L, 0xa.53d498dde644608p-39L},     // 66/128
    {0xf.fedb147p-5L, -0xd.0a85c16acda2df5p-38L, 0xd.db91ff3p-4L, 0xc.3cc8b95e9229685p-39L},   // 67/128
    {0x8.1b149cep-4L, 0xd.32a96939943e342p-38L, 0xd.cb7777bp-4L, -0xe.f7e3eba5c338705p-38L},   // 68/128
    {0x8.369b435p-4L, -0xb.91a4b02946eb1cp-37L, 0xd.bb25c26p-4L, -0x8.fb3e7d6123086cep-37L},   // 69/128
    {0x8.52010f5p-4L, -0xf.7ffadec8742722ap-40L, 0xd.aa9d208p-4L, 0xc.104e0c7fbca3814p-37L},   // 70/128
    {0x8.6d45936p-4L, -0xa.98d269637bc2fbap-37L, 0xd.99ddd45p-4L, -0xd.dade1595ae2e093p-39L},  // 71/128
    {0x8.8868626p-4L, -0x9.63c489b9d99dfdap-37L, 0xd.88e820bp-4L, 0xa.93188eeab0f7dep-39L},    // 72/128
    {0x8.a3690fcp-4L, 0xb.7f8237f2a6bc4e7p-37L, 0xd.77bc498p-4L, 0xb.d274c0f93b0d172p-37L},    // 73/128
    {0x8.be472f9p-4L, 0xe.edb0135e57102e2p-37L, 0xd.665a938p-4L, -0x9.621a9c1255c8a52p-37L},   // 74/128
    {0x8.d902566p-4L, -0xf.d0230f8c863865ep-37L, 0xd.54c3442p-4L, -0xf.76ed006e0f581f3p-37L},  // 75/128
    {0x8.f39a192p-4L, -0x9.a8b3dbab80b617cp-37L, 0xd.42f6a1cp-4L, -0xc.1fd2e641f9c7a14p-37L},  // 76/128
    {0x9.0e0e0d8p-4L, 0xe.533c3cb66496475p-39L, 0xd.30f4f39p-4L, 0xb.0d5eac198717ea3p-38L},    // 77/128
    {0x9.285dc9cp-4L, -0xe.e8898570bf6ea11p-38L, 0xd.1ebe81bp-4L, -0xd.42315a36ebb2866p-37L},  // 78/128
    {0x9.4288e49p-4L, -0x8.5f994077c76685bp-37L, 0xd.0c5394dp-4L, 0xe.e445032bc4ae6d8p-37L},   // 79/128
    {0x9.5c8ef54p-4L, 0x8.421d817238937a5p-37L, 0xc.f9b476dp-4L, -0xe.d07b47480315e46p-37L},   // 80/128
    {0x9.766f93dp-4L, -0xb.9efb165540f8c0ep-38L, 0xc.e6e172p-4L, -0xd.a1a3b019bbb59bp-37L},    // 81/128
    {0x9.902a58ap-4L, 0x8.bc4f7dad0825685p-37L, 0xc.d3dad1bp-4L, 0xa.65145c8b3f327eap-37L},    // 82/128
    {0x9.a9bedcep-4L, -0xf.e4c7266c0c287ep-40L, 0xc.c0a0e21p-4L, 0xe.1310747fe01223cp-37L},    // 83/128
    {0x9.c32cba3p-4L, -0x9.d7d5221f5b52761p-37L, 0xc.ad33fp-4L, 0xc.b1fcbd04097781ep-37L},     // 84/128
    {0x9.dc738adp-4L, 0xa.1027344d62c1688p-39L, 0xc.9994493p-4L, 0xd.9e9191223ff27fdp-37L},    // 85/128
    {0x9.f592e9bp-4L, 0xc.d539f20d478f548p-37L, 0xc.85c23c2p-4L, 0xd.daf6de029dea8d9p-37L},    // 86/128
    {0xa.0e8a726p-4L, -0xb.30df5cfb816bc0ap-38L, 0xc.71be182p-4L, -0x9.94bc518e92d4f53p-39L},  // 87/128
    {0xa.2759c0ep-4L, 0xf.386ab04a4f8656bp-37L, 0xc.5d882d3p-4L, -0x8.dbfe79c1fc16b8bp-39L},   // 88/128
    {0xa.4000722p-4L, -0xe.ea616c6529d18fbp-37L, 0xc.4920cc3p-4L, -0x9.e3823b7263bec12p-39L},  // 89/128
    {0xa.587e235p-4L, 0xa.b761010da05738dp-37L, 0xc.348846cp-4L, -0x8.5939d98e003a803p-37L},   // 90/128
    {0xa.70d272ap-4L, 0xe.d51a96db41d920ep-37L, 0xc.1fbeef4p-4L, -0xf.e3600454b3d826fp-37L},   // 91/128
    {0xa.88fcfecp-4L, -0x9.95c8ae07430e244p-38L, 0xc.0ac518dp-4L, -0xe.92a31de8b90b823p-37L},  // 92/128
    {0xa.a0fd66fp-4L, -0x8.91b7b734f5eb7cbp-38L, 0xb.f59b175p-4L, 0xa.14880d0eb2d252dp-37L},   // 93/128
    {0xa.b8d34b3p-4L, 0xd.59b30e421da687ep-37L, 0xb.e0413f8p-4L, 0x9.e54ee38c2928d51p-37L},    // 94/128
    {0xa.d07e4c4p-4L, 0x9.d08c4fa3a9057bbp-40L, 0xb.cab7e6cp-4L, -0x9.abd6ac9dba7516cp-41L},   // 95/128
    {0xa.e7fe0b6p-4L, -0xe.1e5349a6478a544p-42L, 0xb.b4ff633p-4L, -0xa.dee11827d5cf8c7p-37L},  // 96/128
    {0xa.ff522a9p-4L, 0xa.9e5742db3bdfb88p-37L, 0xb.9f180bap-4L, 0xe.fba0ea2c51c26b5p-37L},    // 97/128
    {0xb.167a4c9p-4L, 0xd.63c4244cf5493b8p-40L, 0xb.890237dp-4L, 0xe.ecf0a12d852814ep-38L},    // 98/128
    {0xb.2d7614bp-4L, 0xf.9d55126f96b7105p-39L, 0xb.72be4p-4L, 0xc.f55e580a1b7b6f4p-37L},      // 99/128
    {0xb.4445271p-4L, -0xc.b4d15adf4dd9135p-37L, 0xb.5c4c7d5p-4L, -0x8.2516ea53879330bp-40L},  // 100/128
    {0xb.5ae7286p-4L, -0x8.7de615d5158f703p-37L, 0xb.45ad497p-4L, 0xb.6252995b9499e82p-37L},   // 101/128
};

long double SinTail(long double z) { return z * (S3 + z * (S5 + z * S7)); }
long double CosTail(long double z) { return z * (C2 + z * (C4 + z * (C6 + z * C8))); }

// The low eight bits of the whole number that RoundingShift made of a value.
unsigned LowByte(long double shifted) {
  std::uint64_t mantissa = 0;
  std::memcpy(&mantissa, &shifted, sizeof mantissa);
  return static_cast<unsigned>(mantissa & 0xFFU);
}

// sin and cos of r + lo for |r| <= pi/4 (plus rounding). With ShortTail,
// |lo| is at most a few units in the last place of r; without it lo may be
// as large as 2^-60, as the reduction of x = k pi/2 + r leaves it for a
// large k and a small r. Inlined into SinCos, and the sine finished before
// the cosine: the 80-bit values then stay in the FPU's eight registers
// instead of going through memory (a tenth of the time of SinCos).
template <bool ShortTail>
[[gnu::always_inline]] inline void Kernel(long double r, long double lo, long double& s, long double& c) {
  // signbit, so that -0 gives -0.
  const bool negative = std::signbit(r);
  const long double a = negative ? -r : r;
  const long double t = negative ? -lo : lo;
  if (a <= TableStart) {
    // Near 0 the series themselves are short: a + (terms below 2^-16 a) and
    // 1 + (terms below 2^-17), each rounded once at the end. A short tail
    // leaves out of the series only its first-order terms, below 2^-17 ulp;
    // a long one must enter the series itself (-a^2 t / 2 in the sine can
    // reach 0.014 ulp).
    if constexpr (ShortTail) {
      const long double z = a * a;
      s = a + (t + a * SinTail(z));
      c = 1.0L + (CosTail(z) - a * t);
    } else {
      const long double whole = a + t;
      const long double z = whole * whole;
      s = a + (t + whole * SinTail(z));
      c = 1.0L + CosTail(z);
    }
    if (negative) s = -s;
    return;
  }
  const long double shifted = a * TableStep + RoundingShift;
  const unsigned i = LowByte(shifted);
  // 1 <= i <= 101 since 1/256 < a <= pi/4, as long as the FPU rounds to
  // 64 bits. Under a coarser precision control (or an emulator that
  // computes long doubles as doubles) the index is not to be trusted: the
  // library's values then, never a read outside the table.
  if (i < 1U || i > std::size(Table)) {
    ::sincosl(r + lo, &s, &c);
    return;
  }
  const long double h = (shifted - RoundingShift) / TableStep;
  const TableEntry& e = Table[i - 1U];
  const long double l = a - h;  // exact
  const long double lHi = (l + SplitShift) - SplitShift;
  const long double lRest = (l - lHi) + t;
  const long double L = l + t;
  const long double z = L * L;
  const long double sd = L * SinTail(z);
  const long double cm1 = CosTail(z);
  // sin h and cos h to 64 bits for the terms of order L^2 and L^3.
  const long double sinH = e.sh + e.sl;
  const long double cosH = e.ch + e.cl;
  // The exact products and the exact splits of the two main sums; the heads
  // are larger than the products, as the split needs.
  const long double p = e.ch * lHi;
  const long double sHead = e.sh + p;
  const long double sErr = p - (sHead - e.sh);
  const long double sine = sHead + (sErr + (e.sl + e.ch * lRest + e.cl * L + cosH * sd + sinH * cm1));
  s = negative ? -sine : sine;
  const long double q = e.sh * lHi;
  const long double cHead = e.ch - q;
  const long double cErr = (e.ch - cHead) - q;
  c = cHead + (cErr + (e.cl - e.sh * lRest - e.sl * L - sinH * sd + cosH * cm1));
}

}  // namespace

void SinCos(long double x, long double& s, long double& c) {
  if (!(std::fabs(x) < ShortReductionLimit)) {
    ::sincosl(x, &s, &c);  // a NaN, an infinity or a huge argument
    return;
  }
  if (std::fabs(x) <= QuarterPi) {
    Kernel<true>(x, 0.0L, s, c);
    return;
  }
  // The nearest quarter turn without a conversion to an integer type (which
  // would switch the rounding mode of the FPU twice); the low bits of the
  // mantissa are then k modulo 4.
  const long double shifted = x * TwoOverPi + RoundingShift;
  const long double k = shifted - RoundingShift;
  const auto n = LowByte(shifted) & 3U;
  // x - k P1 is exact; the rest of k pi/2 is subtracted keeping the rounding
  // errors of the subtractions in lo, so that r + lo carries the reduced
  // angle to well beyond the 64 bits of r.
  const long double high = x - k * P1;
  const long double rest = k * P2;  // exact
  const long double r = high - rest;
  long double sr, cr;
  if (std::fabs(k) <= ShortTailQuarters) {
    // Every latitude and longitude: the stored positions were computed with
    // this reduction and must not change in their last bits. Its tail k P3
    // + k P4, below 2^-66, is rounded at 2^-131, and lo once more.
    const long double tail = k * P3 + k * P4;
    const long double lo = ((high - r) - rest) - tail;
    Kernel<true>(r, lo, sr, cr);
  } else {
    // For more quarter turns the tail k P3 grows to 2^-61, as large as r can
    // be small, and rounding k P3 + k P4 at its own size could cost 0.4 ulp
    // of the result: k P3 is subtracted exactly (TwoSum, since r may be the
    // smaller one), and lo gathers the two rounding errors and k P4.
    const long double kP3 = k * P3;  // exact
    const long double r2 = r - kP3;
    const long double back = r2 - r;
    const long double e2 = (r - (r2 - back)) + (-kP3 - back);
    const long double e1 = (high - r) - rest;
    const long double lo = (e1 + e2) - k * P4;
    Kernel<false>(r2, lo, sr, cr);
  }
  switch (n) {
    case 0:
      s = sr;
      c = cr;
      break;
    case 1:
      s = cr;
      c = -sr;
      break;
    case 2:
      s = -sr;
      c = -cr;
      break;
    default:
      s = -cr;
      c = sr;
      break;
  }
}

}  // namespace navorix
