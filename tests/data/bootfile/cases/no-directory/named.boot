;OS: Windows NT 4.X
cache . cache.dns
primary lost.com lost.dns
