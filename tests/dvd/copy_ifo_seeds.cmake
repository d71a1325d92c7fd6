# cmake -DDISC=<sample disc> -DOUT=<folder> -P copy_ifo_seeds.cmake
# Gathers the sample disc's title-set information files as seeds for the IFO fuzzer; the disc's
# folder also holds the large VOB files, which must not go into the corpus.
file(GLOB ifos "${DISC}/VIDEO_TS/VTS_*_0.IFO")
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
if(ifos)
    file(COPY ${ifos} DESTINATION "${OUT}")
endif()
