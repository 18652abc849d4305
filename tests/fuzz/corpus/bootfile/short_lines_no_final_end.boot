directory data
directory NOTTHERE
cache
primary a