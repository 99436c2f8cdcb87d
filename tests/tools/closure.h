#pragma once
// Closure of a track, proved rather than sampled.
//
// A vehicle is a point (the camera) to the contact test, and only ever stands at least the contact distance
// R = sqrt(0.8) from every collidable triangle: a move or a response that would land nearer is not taken. It
// moves less than L = kMaxStepDistance (0.8) a step, so its whole path stays at least R - L / 2 = 0.494 from
// every surface, in the connected part of that space which holds the start.
//
// The flood fills a superset of that part on a grid of closed cubes of edge 1/3. A cube is solid only when
// its centre lies within 0.494 - sqrt(3) / 6 = 0.206 of a surface, so no path point lies in it; every other
// cube is open. The cubes round a point the path crosses all hold it, so stepping between face neighbours
// reaches every cube the path touches. A flat wall's solid band is 0.41 thick, more than the 1/3 a face step
// moves across it at any slant, so a whole wall stops the flood; only a gap does not.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <deque>
#include <vector>

#include "race/collision.h"
#include "race/gamephysics.h"

struct ClosureResult {
    bool startClear = false;  // the start is clear of every surface by the contact distance
    bool closed = false;      // the flood never came within kClosureMargin beyond the model's box
    long reached = 0;         // open cubes the flood reached
};

constexpr float kClosureCell = 1.0f / 3.0f;
constexpr float kClosureMargin = 2.0f;

class ClosureFlood {
public:
    ClosureFlood(CollisionWorld& world, const float lo[3], const float hi[3]) : world_(world) {
        for (int k = 0; k < 3; k++) {
            origin_[k] = lo[k] - kClosureMargin;
            cells_[k] = int(std::ceil((hi[k] - lo[k] + 2.0f * kClosureMargin) / kClosureCell));
            blocks_[k] = cells_[k] / kBlock + 1;
        }
        block_.assign(size_t(blocks_[0]) * blocks_[1] * blocks_[2], kPlain);
        for (const CollisionTriangle& t : world.allTriangles)
            MarkSolid(t);
    }

    ClosureResult Fill(const float start[3]) {
        ClosureResult result;
        float unused[3];
        result.startClear = !world_.ContactNormalBruteForce(start, start, unused);
        int s[3];
        for (int k = 0; k < 3; k++)
            s[k] = int(std::floor((start[k] - origin_[k]) / kClosureCell));
        bool leaked = !Reach(s[0], s[1], s[2]);
        while (!leaked && !queue_.empty()) {
            const uint64_t node = queue_.front();
            queue_.pop_front();
            result.reached += node & 1 ? kBlock * kBlock * kBlock : 1;
            leaked = node & 1 ? !SpreadFromBlock(size_t(node >> 1)) : !SpreadFromCell(size_t(node >> 1));
        }
        result.closed = !leaked;
        return result;
    }

    // Whether the flood reached the cube holding p.
    bool Reached(const float p[3]) {
        int c[3];
        for (int k = 0; k < 3; k++) {
            c[k] = int(std::floor((p[k] - origin_[k]) / kClosureCell));
            if (c[k] < 0 || c[k] >= cells_[k])
                return false;
        }
        const int32_t b = block_[BlockIndex(c[0], c[1], c[2])];
        return b == kPlainReached || (b >= 0 && (Cell(c[0], c[1], c[2]) & kReached));
    }

private:
    static constexpr int kBlock = 8;  // cells along a block's edge; blocks far from every surface stay whole
    static constexpr int32_t kPlain = -1, kPlainReached = -2;
    static constexpr uint8_t kSolid = 1, kReached = 2;

    size_t CellIndex(int x, int y, int z) const { return (size_t(z) * cells_[1] + y) * cells_[0] + x; }
    size_t BlockIndex(int x, int y, int z) const {
        return (size_t(z / kBlock) * blocks_[1] + y / kBlock) * blocks_[0] + x / kBlock;
    }
    uint8_t& Cell(int x, int y, int z) {
        int32_t& b = block_[BlockIndex(x, y, z)];
        if (b < 0) {
            b = int32_t(masks_.size());
            masks_.emplace_back();
            masks_.back().fill(0);
        }
        return masks_[size_t(b)][size_t(((z % kBlock) * kBlock + y % kBlock) * kBlock + x % kBlock)];
    }

    void MarkSolid(const CollisionTriangle& t) {
        // A thousandth less covers the rounding of the cube centres and the distance.
        const float kSolidReach = std::sqrt(kContactDistanceSquared) - 0.5f * kMaxStepDistance -
                                  0.5f * std::sqrt(3.0f) * kClosureCell - 1e-3f;
        int from[3], to[3];
        for (int k = 0; k < 3; k++) {
            from[k] = std::max(0, int(std::floor((t.boxMin[k] - kSolidReach - origin_[k]) / kClosureCell)));
            to[k] = std::min(cells_[k] - 1, int(std::floor((t.boxMax[k] + kSolidReach - origin_[k]) / kClosureCell)));
        }
        const float n = std::sqrt(t.normal[0] * t.normal[0] + t.normal[1] * t.normal[1] + t.normal[2] * t.normal[2]);
        for (int z = from[2]; z <= to[2]; z++)
            for (int y = from[1]; y <= to[1]; y++)
                for (int x = from[0]; x <= to[0]; x++) {
                    const float c[3] = {origin_[0] + (float(x) + 0.5f) * kClosureCell,
                                        origin_[1] + (float(y) + 0.5f) * kClosureCell,
                                        origin_[2] + (float(z) + 0.5f) * kClosureCell};
                    const float plane = t.normal[0] * c[0] + t.normal[1] * c[1] + t.normal[2] * c[2] + t.d;
                    if (std::fabs(plane) < kSolidReach * n &&
                        SquaredDistanceToTriangle(c, t.A, t.B, t.C) < kSolidReach * kSolidReach)
                        Cell(x, y, z) |= kSolid;
                }
    }

    // Marks the cube and queues it (a whole block when no surface is near); false outside the grid.
    bool Reach(int x, int y, int z) {
        if (x < 0 || y < 0 || z < 0 || x >= cells_[0] || y >= cells_[1] || z >= cells_[2])
            return false;
        int32_t& b = block_[BlockIndex(x, y, z)];
        if (b == kPlain) {
            b = kPlainReached;
            queue_.push_back(uint64_t(BlockIndex(x, y, z)) << 1 | 1);
        } else if (b >= 0) {
            uint8_t& cell = Cell(x, y, z);
            if (!(cell & (kSolid | kReached))) {
                cell |= kReached;
                queue_.push_back(uint64_t(CellIndex(x, y, z)) << 1);
            }
        }
        return true;
    }

    bool SpreadFromCell(size_t index) {
        const int x = int(index % size_t(cells_[0])), y = int(index / size_t(cells_[0]) % size_t(cells_[1])),
                  z = int(index / (size_t(cells_[0]) * cells_[1]));
        return Reach(x - 1, y, z) && Reach(x + 1, y, z) && Reach(x, y - 1, z) && Reach(x, y + 1, z) &&
               Reach(x, y, z - 1) && Reach(x, y, z + 1);
    }

    // Every cube just outside each face of the block.
    bool SpreadFromBlock(size_t index) {
        const int b[3] = {int(index % size_t(blocks_[0])), int(index / size_t(blocks_[0]) % size_t(blocks_[1])),
                          int(index / (size_t(blocks_[0]) * blocks_[1]))};
        for (int axis = 0; axis < 3; axis++)
            for (int side : {-1, kBlock})
                for (int u = 0; u < kBlock; u++)
                    for (int v = 0; v < kBlock; v++) {
                        int p[3];
                        p[axis] = b[axis] * kBlock + side;
                        p[(axis + 1) % 3] = b[(axis + 1) % 3] * kBlock + u;
                        p[(axis + 2) % 3] = b[(axis + 2) % 3] * kBlock + v;
                        if (!Reach(p[0], p[1], p[2]))
                            return false;
                    }
        return true;
    }

    CollisionWorld& world_;
    float origin_[3];
    int cells_[3], blocks_[3];
    std::vector<int32_t> block_;  // kPlain, kPlainReached, or the index of the block's cells in masks_
    std::vector<std::array<uint8_t, kBlock * kBlock * kBlock>> masks_;
    std::deque<uint64_t> queue_;  // breadth first: only the front of the flood is held
};
