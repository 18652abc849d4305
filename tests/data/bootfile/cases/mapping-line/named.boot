directory     C:\\dns\\data 
;MAPPING: G
;OS: Windows NT 4.X
cache . cache.dns
primary mapped.com mapped.dns
