directory C:\\dns\\data
;OS: Windows NT 4.X
cache . cache.dns
primary moved.com moved.dns
primary also.com also.dns
