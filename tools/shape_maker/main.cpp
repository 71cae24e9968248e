// shape_maker: writes the game's object definitions into <run directory>/Objects.
//
//   shape_maker <run directory>
#include "tools/shape_maker/shapes.hpp"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: shape_maker <run directory>\n");
        return 2;
    }
    const std::string directory = std::string(argv[1]) + "/Objects";
    std::vector<Shape> shapes;
    for (auto group : {vehicleShapes, structureShapes, pickupShapes, natureShapes})
        for (Shape& s : group()) shapes.push_back(std::move(s));
    for (const Shape& shape : shapes) {
        if (!writeShape(directory, shape)) {
            std::fprintf(stderr, "shape_maker: cannot write %s/%s.odf\n", directory.c_str(),
                         shape.name.c_str());
            return 1;
        }
    }
    std::printf("wrote %zu definitions to %s\n", shapes.size(), directory.c_str());
    return 0;
}
