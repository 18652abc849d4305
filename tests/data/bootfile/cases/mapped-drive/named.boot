directory     C:\\dns\\data 
;OS: Windows NT 4.X
cache . cache.dns
primary mapped.com mapped.dns
