from tortoise import BaseDBAsyncClient

RUN_IN_TRANSACTION = True
RUN_IN_TRANSACTION = False
MODELS_STATE = ''


async def upgrade(db: BaseDBAsyncClient) -> str:
    return "CREATE INDEX CONCURRENTLY i ON t (c)"
