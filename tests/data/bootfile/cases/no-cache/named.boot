directory C:\\dns\\data
;OS: Windows NT 4.X
primary example.com example.com.dns
